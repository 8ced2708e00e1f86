#include "app/window/mekwindows.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/codepage.h"

bool ShellOpen(const std::string& target, const std::string& parameters) {
  if (target.empty() || !parameters.empty()) return false;
  // An address without a scheme is a web address or a local file, as a browser would take it.
  const QUrl url = QUrl::fromUserInput(QString::fromStdString(GbkToUtf8(target)));
  return url.isValid() && QDesktopServices::openUrl(url);
}
