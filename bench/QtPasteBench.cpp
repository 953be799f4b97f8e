// How soon the Qt window answers again after a paste of 1 MiB of text into each input box, run
// offscreen (QT_QPA_PLATFORM=offscreen qt_paste_bench): Ctrl+V to the box, as a user pastes, then
// the event loop once, timed together. Prints the median and the range of the runs, in
// milliseconds, per box. It reports; it does not fail.
#include "Form1.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    Form1 form;
    form.show();
    constexpr qsizetype pastedUnits = 1 << 19; // 1 MiB of UTF-16
    QApplication::clipboard()->setText(QString(pastedUnits, QLatin1Char('7')));
    for (const char *name : {"weight", "heightf", "ft"}) {
        auto *box = form.findChild<QLineEdit *>(QLatin1String(name));
        std::vector<double> times;
        for (int run = 0; run < 7; ++run) {
            box->clear();
            box->setFocus();
            QElapsedTimer timer;
            timer.start();
            QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
            QApplication::sendEvent(box, &paste);
            QApplication::processEvents();
            times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        std::sort(times.begin(), times.end());
        std::printf("%-8s %lld units: answered in %.1f ms (median; %.1f to %.1f), box holds %lld\n",
                    name,
                    static_cast<long long>(pastedUnits),
                    times[times.size() / 2],
                    times.front(),
                    times.back(),
                    static_cast<long long>(box->text().size()));
    }
    return 0;
}
