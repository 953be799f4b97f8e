#include "AccessibleBox.h"

#include "TableRow.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using tables::PrintTo;

VARIANT child(LONG id)
{
    VARIANT variant{};
    variant.vt = VT_I4;
    variant.lVal = id;
    return variant;
}

class AccessibleBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        edit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(edit, nullptr);
        box = AccessibleBox::create(edit, L"Height in inches", L"");
        ASSERT_NE(box, nullptr);
    }

    void TearDown() override
    {
        box.Reset();
        if (IsWindow(edit))
            DestroyWindow(edit);
    }

    HWND edit = nullptr;
    Microsoft::WRL::ComPtr<IAccessible> box;
};

// A client may ask anything; the box neither crashes nor passes on what the system might not expect.
struct BadCall
{
    const char *name;
    HRESULT (*call)(IAccessible *);
    HRESULT expected;
};

class AccessibleBoxBadCalls : public AccessibleBoxTest, public ::testing::WithParamInterface<BadCall>
{
};

TEST_P(AccessibleBoxBadCalls, AreRefused)
{
    EXPECT_EQ(GetParam().call(box.Get()), GetParam().expected);
}

BSTR text = nullptr;
VARIANT out{};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Win32, AccessibleBoxBadCalls, ::testing::Values(
    BadCall{"name_of_an_empty_variant", [](IAccessible *a) { return a->get_accName(VARIANT{}, &text); }, E_INVALIDARG},
    BadCall{"name_of_a_child_past_the_end", [](IAccessible *a) { return a->get_accName(child(1), &text); }, E_INVALIDARG},
    BadCall{"name_of_a_negative_child", [](IAccessible *a) { return a->get_accName(child(-7), &text); }, E_INVALIDARG},
    BadCall{"name_into_null", [](IAccessible *a) { return a->get_accName(child(0), nullptr); }, E_POINTER},
    BadCall{"location_into_nulls", [](IAccessible *a) { return a->accLocation(nullptr, nullptr, nullptr, nullptr, child(0)); }, E_POINTER},
    BadCall{"navigate_from_an_unknown_child", [](IAccessible *a) { return a->accNavigate(NAVDIR_NEXT, child(99), &out); }, E_INVALIDARG},
    BadCall{"query_into_null", [](IAccessible *a) { return a->QueryInterface(__uuidof(IAccessible), nullptr); }, E_POINTER}),
    testing::PrintToStringParamName());
// clang-format on

} // namespace
