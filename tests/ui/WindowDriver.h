#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the window-behaviour suite needs of a front end: its real window, made fresh for each
// test, driven as a user drives it and read as it shows. Controls go by their design names;
// "Form1" is the window itself.
namespace window {

enum class Key {
    Tab,
    Backtab,
    Return,
    KeypadEnter,
    Escape,
    Space,
    Backspace,
    Delete,
    Left,
    Right,
    ShiftLeft,
    ShiftRight
};

struct Pixels
{
    int left;
    int top;
    int width;
    int height;
};

// What a message box showed, read while it was open; the driver then pressed its OK.
struct ShownBox
{
    std::u16string caption;
    std::u16string text;
    bool critical = false;
    bool okOnly = false;
    bool modal = false;
};

class Driver
{
public:
    virtual ~Driver() = default;

    // Characters as keys into a box, which takes the focus first, at its caret.
    virtual void type(std::string_view box, std::u16string_view text) = 0;
    // A text through the clipboard and the box's paste, at its caret.
    virtual void paste(std::string_view box, std::u16string_view text) = 0;
    virtual void setCaret(std::string_view box, int position) = 0;
    // A key to whatever has the focus.
    virtual void press(Key key) = 0;
    virtual void focus(std::string_view control) = 0;
    virtual void click(std::string_view control) = 0;

    virtual std::u16string text(std::string_view control) const = 0;
    virtual int caret(std::string_view box) const = 0;
    virtual std::string focused() const = 0;
    // In logical pixels (96 dots per inch), from the window's inside.
    virtual Pixels place(std::string_view control) const = 0;
    virtual Pixels client() const = 0;
    virtual std::u16string title() const = 0;
    virtual bool showing() const = 0;
    virtual std::vector<ShownBox> shownBoxes() const = 0;
};

// Each front end's test program links its own.
std::unique_ptr<Driver> makeDriver();

} // namespace window
