// How soon the Win32 window answers again after a paste of 1 MiB of text into each input box, under
// Wine (bench/wine_paste.sh): the paste and then an empty message are sent from another thread,
// and timed until the window's thread has answered both. Prints the median and the range of the
// runs, in milliseconds, per box. It reports; it does not fail.
//
//   paste_bench.exe [UNITS [BOX...]]      (default 524288 units into weight, heightf and ft)
#include "Form1.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int runs = 7;

bool putOnClipboard(HWND owner, const std::wstring &text)
{
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool taken = false;
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!taken) {
            // cppcheck-suppress doubleFree ; SetClipboardData takes the memory only when it succeeds
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    return taken;
}

// From the paste to the answer of the window's thread, while that thread runs its loop.
double answerAfterPaste(const Form1 &form, HWND box)
{
    double milliseconds = 0;
    std::thread probe([&] {
        const auto start = std::chrono::steady_clock::now();
        SendMessageW(box, WM_PASTE, 0, 0);
        SendMessageW(form.hwnd(), WM_NULL, 0, 0);
        milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        PostMessageW(form.hwnd(), WM_APP, 0, 0);
    });
    for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_APP;)
        DispatchMessageW(&message);
    probe.join();
    return milliseconds;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const std::size_t pastedUnits = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 1 << 19;
    std::vector<std::string> boxes;
    for (int i = 2; i < argc; ++i)
        boxes.emplace_back(argv[i], argv[i] + std::wcslen(argv[i]));
    if (boxes.empty())
        boxes = {"weight", "heightf", "ft"};
    Form1 form;
    ShowWindow(form.hwnd(), SW_SHOW);
    UpdateWindow(form.hwnd());
    if (!putOnClipboard(form.hwnd(), std::wstring(pastedUnits, L'7'))) {
        std::fputs("the clipboard took no text\n", stderr);
        return 1;
    }
    for (const std::string &name : boxes) {
        const HWND box = form.control(name);
        if (!box) {
            std::fprintf(stderr, "no box %s\n", name.c_str());
            return 1;
        }
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            SetWindowTextW(box, L"");
            times.push_back(answerAfterPaste(form, box));
        }
        std::sort(times.begin(), times.end());
        std::printf("%-8s %zu units: answered in %.1f ms (median; %.1f to %.1f), box holds %d\n",
                    name.c_str(),
                    pastedUnits,
                    times[times.size() / 2],
                    times.front(),
                    times.back(),
                    GetWindowTextLengthW(box));
    }
    return 0;
}
