#include "CalculateBmi.h"
#include "Form1Design.h"
#include "TableRow.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The window's behaviour, the same in every front end, checked through each one's driver.

namespace {

using tables::PrintTo;
using window::Key;

class Window : public ::testing::Test
{
protected:
    void SetUp() override { w = window::makeDriver(); }
    void TearDown() override { w.reset(); }

    void enter(std::u16string_view weight, std::u16string_view feet, std::u16string_view inches)
    {
        w->type("weight", weight);
        w->type("heightf", feet);
        w->type("ft", inches);
    }

    std::unique_ptr<window::Driver> w;
};

template<typename Row>
class WindowWith : public Window, public ::testing::WithParamInterface<Row>
{
};

std::string nameOf(const ::testing::TestParamInfo<design::Control> &info)
{
    return std::string(info.param.name);
}

using Controls = WindowWith<design::Control>;

TEST_P(Controls, StandWhereTheDesignPutsThemAndShowTheirText)
{
    const design::Control &c = GetParam();
    const window::Pixels shown = w->place(c.name);
    const design::Rect &twips = c.twips;
    constexpr int px = design::twipsPerPixel;
    EXPECT_EQ(shown.left, twips.left / px);
    if (c.kind == design::Kind::Label) {
        // A label may move down by as much as a box's border and margin, which puts its text on
        // the line of the text in the box beside it.
        EXPECT_GE(shown.top, twips.top / px);
        EXPECT_LE(shown.top, twips.top / px + 3);
    } else {
        EXPECT_EQ(shown.top, twips.top / px);
    }
    if (c.kind == design::Kind::Line) {
        EXPECT_EQ(shown.width, twips.width / px + 1); // both ends drawn
    } else {
        EXPECT_EQ(shown.width, twips.width / px);
        EXPECT_EQ(shown.height, twips.height / px);
    }
    const std::u16string text = w->text(c.name);
    if (c.kind == design::Kind::FixedText) {
        // However the toolkit keeps the line break at its end.
        EXPECT_EQ(text.substr(0, design::sentenceAlone.size()), design::sentenceAlone);
        EXPECT_EQ(text.find_first_not_of(u"\r\n", design::sentenceAlone.size()), std::u16string::npos);
    } else {
        EXPECT_EQ(text, c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(Design, Controls, ::testing::ValuesIn(design::controls), nameOf);

TEST_F(Window, OpensEmptyWithTheFocusInTheWeight)
{
    EXPECT_EQ(w->title(), design::title);
    const window::Pixels client = w->client();
    EXPECT_EQ(client.width, design::client.width / design::twipsPerPixel);
    EXPECT_EQ(client.height, design::client.height / design::twipsPerPixel);
    for (const char *box : {"weight", "heightf", "ft", "bdmass", "nutrition"})
        EXPECT_EQ(w->text(box), u"") << box;
    EXPECT_EQ(w->focused(), "weight");
    EXPECT_TRUE(w->shownBoxes().empty());
}

// The focus takes the boxes and the button in the order of their tab indexes, and round again.
TEST_F(Window, TabAndShiftTabVisitTheBoxesAndTheButtonInOrder)
{
    std::vector<design::Control> stops;
    std::copy_if(design::controls.begin(), design::controls.end(), std::back_inserter(stops), [](const auto &c) {
        return c.kind == design::Kind::TextBox || c.kind == design::Kind::Button;
    });
    std::sort(stops.begin(), stops.end(), [](const auto &a, const auto &b) { return a.tabIndex < b.tabIndex; });
    ASSERT_EQ(w->focused(), stops.front().name);
    for (std::size_t i = 1; i <= stops.size(); ++i) {
        w->press(Key::Tab);
        EXPECT_EQ(w->focused(), stops[i % stops.size()].name);
    }
    for (std::size_t i = stops.size(); i > 0; --i) {
        w->press(Key::Backtab);
        EXPECT_EQ(w->focused(), stops[i - 1].name);
    }
}

struct KeyInBox
{
    std::string name;
    const char *box;
    Key key;
};

using KeysInBoxes = WindowWith<KeyInBox>;

// The window is no dialog: Enter and Escape in a box press no button and close nothing.
TEST_P(KeysInBoxes, RunNothing)
{
    const KeyInBox &row = GetParam();
    enter(u"150", u"5", u"10");
    w->focus(row.box);
    w->press(row.key);
    EXPECT_EQ(w->text("bdmass"), u"");
    EXPECT_EQ(w->text("nutrition"), u"");
    EXPECT_TRUE(w->shownBoxes().empty());
    EXPECT_TRUE(w->showing());
}

std::vector<KeyInBox> keysInBoxes()
{
    std::vector<KeyInBox> rows;
    for (const char *box : {"weight", "heightf", "ft", "bdmass", "nutrition"}) {
        rows.push_back({std::string(box) + "_return", box, Key::Return});
        rows.push_back({std::string(box) + "_keypad_enter", box, Key::KeypadEnter});
        rows.push_back({std::string(box) + "_escape", box, Key::Escape});
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Boxes, KeysInBoxes, ::testing::ValuesIn(keysInBoxes()), ::testing::PrintToStringParamName());

struct KeyOnButton
{
    const char *name;
    Key key;
};

using KeysOnTheButton = WindowWith<KeyOnButton>;

TEST_P(KeysOnTheButton, Calculate)
{
    enter(u"150", u"5", u"10");
    w->focus("Command1");
    w->press(GetParam().key);
    EXPECT_EQ(w->text("bdmass"), u"22");
    EXPECT_EQ(w->text("nutrition"), u"Desirable");
}

INSTANTIATE_TEST_SUITE_P(Button,
                         KeysOnTheButton,
                         ::testing::Values(KeyOnButton{"space", Key::Space}, KeyOnButton{"return", Key::Return}),
                         ::testing::PrintToStringParamName());

using ClicksElsewhere = WindowWith<const char *>;

TEST_P(ClicksElsewhere, RunNothing)
{
    enter(u"150", u"5", u"10");
    w->click(GetParam());
    EXPECT_EQ(w->text("bdmass"), u"");
    EXPECT_EQ(w->text("nutrition"), u"");
    EXPECT_TRUE(w->shownBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Controls,
    ClicksElsewhere,
    ::testing::Values("Label1", "Label2", "Label3", "Label4", "Line1", "Text5", "bdmass", "nutrition", "Form1"),
    [](const auto &info) { return std::string(info.param); });

struct Edit
{
    const char *name;
    const char *box;
    std::u16string before;
    int caret;
    std::u16string arriving;
    bool pasted;
    std::u16string after;
};

using Edits = WindowWith<Edit>;

// Each input box keeps the first characters of a longer text, whole characters only, with the
// caret after them; a shorter one stays as it is, caret included. A single-line box never holds
// a line break: of a pasted text it keeps what comes before the first.
TEST_P(Edits, KeepTheLimitAndWholeCharacters)
{
    const Edit &row = GetParam();
    w->type(row.box, row.before);
    w->setCaret(row.box, row.caret);
    if (row.pasted)
        w->paste(row.box, row.arriving);
    else
        w->type(row.box, row.arriving);
    EXPECT_EQ(w->text(row.box), row.after);
    EXPECT_EQ(w->caret(row.box), static_cast<int>(row.after.size()));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Limits, Edits, ::testing::Values(
    Edit{"weight_within", "weight", u"", 0, u"150", false, u"150"},
    Edit{"weight_at_end_of_full", "weight", u"150", 3, u"0", false, u"150"},
    Edit{"weight_inside_full", "weight", u"150", 1, u"9", false, u"195"},
    Edit{"weight_kinds_alike", "weight", u"", 0, u"5.5x", false, u"5.5"},
    Edit{"heightf_in_front", "heightf", u"5", 0, u"6", false, u"6"},
    Edit{"ft_inside_full", "ft", u"10", 1, u"1", false, u"11"},
    Edit{"ft_kinds", "ft", u"", 0, u"-5", false, u"-5"},
    Edit{"ft_blank_digit", "ft", u"", 0, u" 1", false, u" 1"},
    Edit{"weight_paste", "weight", u"", 0, u"abcdef", true, u"abc"},
    Edit{"ft_paste_after_one", "ft", u"1", 1, u"xyz", true, u"1x"},
    Edit{"heightf_paste_within", "heightf", u"", 0, u"5", true, u"5"},
    Edit{"weight_paste_two_lines", "weight", u"", 0, u"12\n34", true, u"12"},
    Edit{"weight_paste_after_a_break", "weight", u"", 0, u"\r\n5", true, u""},
    Edit{"bdmass_paste_two_lines", "bdmass", u"", 0, u"first line\r\nsecond", true, u"first line"},
    Edit{"weight_four_emoji", "weight", u"", 0, u"\U0001F600\U0001F600\U0001F600\U0001F600", false, u"\U0001F600"},
    Edit{"heightf_emoji", "heightf", u"", 0, u"\U0001F600", false, u""},
    Edit{"ft_emoji_after_digit", "ft", u"", 0, u"1\U0001F600", false, u"1"},
    Edit{"weight_pasted_emoji", "weight", u"", 0, u"12\U0001F600", true, u"12"},
    Edit{"ft_pasted_two_emoji", "ft", u"", 0, u"\U0001F600\U0001F600", true, u"\U0001F600"},
    // A long paste ends as a short one does, at once, a pair at the cut included.
    Edit{"weight_long_paste_cut_at_a_pair", "weight", u"1", 1, u"2\U0001F600" + std::u16string(100000, u'3'), true, u"12"},
    Edit{"heightf_long_paste", "heightf", u"", 0, std::u16string(100000, u'5'), true, u"5"},
    Edit{"ft_long_paste_in_front", "ft", u"1", 0, u"\U0001F600" + std::u16string(100000, u'7'), true, u"\U0001F600"}),
    ::testing::PrintToStringParamName());
// clang-format on

struct KeysOverPair
{
    const char *name;
    const char *box;
    std::u16string before;
    int caret;
    std::vector<Key> keys;
    std::u16string after;
    int caretAfter;
};

using KeysOverPairs = WindowWith<KeysOverPair>;

// A pair of surrogates is one character to the editing keys: nothing leaves half of one.
TEST_P(KeysOverPairs, TakeItWhole)
{
    const KeysOverPair &row = GetParam();
    w->type(row.box, row.before);
    w->setCaret(row.box, row.caret);
    for (const Key key : row.keys)
        w->press(key);
    EXPECT_EQ(w->text(row.box), row.after);
    EXPECT_EQ(w->caret(row.box), row.caretAfter);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Pairs, KeysOverPairs, ::testing::Values(
    KeysOverPair{"backspace_after", "bdmass", u"a\U0001F600", 3, {Key::Backspace}, u"a", 1},
    KeysOverPair{"backspace_in_ft", "ft", u"\U0001F600", 2, {Key::Backspace}, u"", 0},
    KeysOverPair{"delete_before", "bdmass", u"\U0001F600b", 0, {Key::Delete}, u"b", 0},
    KeysOverPair{"left_over", "bdmass", u"a\U0001F600b", 3, {Key::Left}, u"a\U0001F600b", 1},
    KeysOverPair{"right_over", "bdmass", u"a\U0001F600b", 1, {Key::Right}, u"a\U0001F600b", 3},
    KeysOverPair{"shift_left_then_backspace", "bdmass", u"ab\U0001F600", 4, {Key::ShiftLeft, Key::Backspace}, u"ab", 2},
    KeysOverPair{"shift_right_then_delete", "bdmass", u"\U0001F600b", 0, {Key::ShiftRight, Key::Delete}, u"b", 0}),
    ::testing::PrintToStringParamName());
// clang-format on

TEST_F(Window, ResultBoxesHaveNoLimitAndCountForNothing)
{
    for (const char *box : {"bdmass", "nutrition"}) {
        w->type(box, u"typed by the user");
        EXPECT_EQ(w->text(box), u"typed by the user");
    }
    enter(u"150", u"5", u"10");
    EXPECT_EQ(w->text("bdmass"), u"typed by the user");
}

struct Calculation
{
    const char *name;
    std::u16string weight, feet, inches;
    std::u16string feetAfter, inchesAfter, index, category;
};

using Calculations = WindowWith<Calculation>;

TEST_P(Calculations, ShowTheIndexAndTheCategory)
{
    const Calculation &row = GetParam();
    enter(row.weight, row.feet, row.inches);
    w->click("Command1");
    EXPECT_TRUE(w->shownBoxes().empty());
    EXPECT_EQ(w->text("heightf"), row.feetAfter);
    EXPECT_EQ(w->text("ft"), row.inchesAfter);
    EXPECT_EQ(w->text("bdmass"), row.index);
    EXPECT_EQ(w->text("nutrition"), row.category);
}

// One row for each outcome; the arithmetic itself is the core's, tested there.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Outcomes, Calculations, ::testing::Values(
    Calculation{"underweight", u"100", u"5", u"10", u"5", u"10", u"14", u"Underweight"},
    Calculation{"desirable", u"150", u"5", u"10", u"5", u"10", u"22", u"Desirable"},
    Calculation{"prone", u"190", u"5", u"10", u"5", u"10", u"27", u"prone to health risks"},
    Calculation{"obese", u"220", u"5", u"10", u"5", u"10", u"32", u"Obese"},
    Calculation{"extremely_obese", u"300", u"5", u"10", u"5", u"10", u"43", u"Extremely obese"},
    Calculation{"rewrite", u"180", u"5", u"14", u"6", u"2", u"23", u"Desirable"},
    Calculation{"largest_index", u"499", u"4", u".1", u"4", u".1", u"152", u"Extremely obese"},
    // What a box shows is what is read: a mark that shows nothing takes no place in the number.
    Calculation{"zero_width_space_in_the_inches", u"150", u"5", u"\u200B10", u"5", u"\u200B1", u"28", u"prone to health risks"},
    Calculation{"no_break_space_in_the_inches", u"150", u"5", u"\u00A010", u"5", u"\u00A01", u"28", u"prone to health risks"},
    Calculation{"between_categories", u"180", u"5", u"10", u"5", u"10", u"26", u"prone to health risks"}),
    ::testing::PrintToStringParamName());
// clang-format on

TEST_F(Window, InvalidDataShowsOneModalBoxAndWritesNothing)
{
    w->type("bdmass", u"earlier");
    w->type("nutrition", u"earlier too");
    enter(u"500", u"5", u"14");
    w->click("Command1");
    const std::vector<window::ShownBox> shown = w->shownBoxes();
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown[0].caption, u"Quorvane");
    EXPECT_EQ(shown[0].text, core::invalidDataMessage);
    EXPECT_TRUE(shown[0].critical);
    EXPECT_TRUE(shown[0].okOnly);
    EXPECT_TRUE(shown[0].modal);
    EXPECT_EQ(w->text("heightf"), u"5");
    EXPECT_EQ(w->text("ft"), u"14");
    EXPECT_EQ(w->text("bdmass"), u"earlier");
    EXPECT_EQ(w->text("nutrition"), u"earlier too");
    EXPECT_TRUE(w->showing());
}

} // namespace
