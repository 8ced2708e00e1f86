// The start-up report of a window program (ORVEX_STARTUP_REPORT=1): once its window is
// first exposed, the milliseconds since the process started; once its first frame is
// painted, the same again; one second after that, its resident memory; then the program quits. The window and the bare window of the start-up
// benchmark (bench/window_start.py) report alike, so the two are measured the same way.
#pragma once
class QWidget;

// Arms the report for window when ORVEX_STARTUP_REPORT is 1; prints on stdout
//   shown after MS ms
//   painted after MS ms
//   resident KIB KiB
// and quits the application. Does nothing otherwise.
void ArmStartupReport(QWidget& window);
