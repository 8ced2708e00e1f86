// Accessible elements of other programs, reached over the accessibility bus (AT-SPI):
// the element under a screen point, and its name and value as the texts of item 47; on a
// desktop that tells no program where the pointer is (Wayland), the element that has the
// keyboard focus and its text.
// Every call waits for an answer for a bounded time only, so a program that hangs on the
// bus stalls the window for two seconds at most.
#pragma once
#include <string>

#include "app/engine/pointertext.h"

struct _AtspiAccessible;

// One accessible element; holds a reference to it.
class TAccObject {
public:
  TAccObject() = default;
  explicit TAccObject(_AtspiAccessible* element) : element_(element) {}  // takes the reference
  ~TAccObject();
  TAccObject(TAccObject&& other) noexcept : element_(other.element_) { other.element_ = nullptr; }
  TAccObject& operator=(TAccObject&& other) noexcept;
  TAccObject(const TAccObject&) = delete;
  TAccObject& operator=(const TAccObject&) = delete;

  explicit operator bool() const { return element_ != nullptr; }
  _AtspiAccessible* Element() const { return element_; }

private:
  _AtspiAccessible* element_ = nullptr;
};

enum class TAccProperty { Name, Value };

// The child identifier of the element itself: the only child an element found here has.
inline constexpr int CHILDID_SELF = 0;

// The deepest element at the screen point (x, y) in physical pixels: the shown top-level
// window that contains the point (an active one first) of any program on the bus but this
// one, then its child at the point, down to an element without children there. An empty
// object when there is none, or no accessibility bus.
TAccObject AccObjectFromPoint(int x, int y);

// The element's name or value (see AccPropertyAnswer) as the text it shows (GBK).
std::string AccPropertyText(const TAccObject& object, int child, TAccProperty property);

// How asking the element for its name or value ends. The name is the element's name
// (an empty one is no text). The value is the current value of an element that holds a
// number (a slider, a spin box), written with up to 15 significant digits; the whole
// text of an editable text field; no text for anything else. A password field's value is
// never read: it fails. An empty object, or a child other than CHILDID_SELF, is an
// invalid argument.
FAccAnswer AccPropertyAnswer(const TAccObject& object, int child, TAccProperty property);

// The element that has the keyboard focus, in any program on the bus but this one: looked
// for in the programs' active windows first, then in their other shown windows, visiting a
// bounded number of elements within the same two seconds. An empty object when no element
// has the focus, or there is no accessibility bus.
TAccObject AccFocusedObject();

// The text of the focused element for item 47: its selected text when something is
// selected, else the line of its text at the caret (without its line break), else its name
// (UTF-8). NoText when it has none of them; a password field is never read (Failed); an
// empty object is an invalid argument.
FAccAnswer AccFocusedTextAnswer(const TAccObject& object);
