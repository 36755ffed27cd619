// Renders the plot and navigation panes with spectrum files open and saves the picture, so the
// drawing can be looked at without a display:
//   QT_QPA_PLATFORM=offscreen display_snapshot out.png file.mca [more.mca ...] [--log]

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/UserPrompt.h"
#include "display/CPlot.h"
#include "display/PlotDisplaySink.h"
#include "display/SpectraListPlotPort.h"
#include "display/ui/NavigationPane.h"
#include "display/ui/PlotWidget.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumFile.h"

using namespace vorna;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: display_snapshot OUT.png FILE... [--log]\n");
        return 2;
    }
    QApplication app(argc, argv);
    SilentPrompt prompt;
    SpectrumEnvironment env;
    env.prompt = &prompt;
    CSpectraList list(env);
    list.Add(std::make_unique<CSpectrum>(env.slots, 0), true); // the live spectrum, empty
    SpectraListPlotPort port(list);
    CPlot plot(port, &prompt);
    PlotDisplaySink sink(plot);
    env.display = &sink;

    QWidget window;
    window.resize(1000, 560);
    PlotWidget plotWidget(plot, port, &window);
    NavigationPane nav(plot, &window);
    plotWidget.setGeometry(0, 0, 1000, 490);
    nav.setGeometry(0, 490, 1000, 70);
    nav.setBackground(QColor(0xEC, 0xE9, 0xD8));
    window.show();

    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--log") == 0) {
            plot.SetScaleType(ScaleType::Logarithmic);
        } else if (OpenSpectrumFile(list, argv[i]) == FileOpenResult::Failed) {
            std::fprintf(stderr, "cannot open %s: %s\n", argv[i], prompt.lastMessage().c_str());
            return 1;
        }
    }
    plot.MoveCursorTo(ToAbsolute(600, port.ActiveGain()));
    app.processEvents();
    if (!window.grab().toImage().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
