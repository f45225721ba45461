// Start-up of the main window to its first painted frame, against a bare Qt
// window with the same number and kinds of widgets, and one edit-to-repaint
// cycle (type a value, leave the field, recalculate, repaint).
#include <benchmark/benchmark.h>

#include "BenchApp.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>

#include "BoundWidgets.h"
#include "Messages.h"
#include "UnitMain.h"

namespace
{

// Paints the window once, as the first frame on the screen would.
void FirstFrame(QWidget& w)
{
    w.show();
    QApplication::processEvents();
    QPixmap frame = w.grab();
    benchmark::DoNotOptimize(frame);
}

void BM_MainWindowStartup(benchmark::State& state)
{
    BenchApp<QApplication>();
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    for (auto _ : state) {
        TFormVELK w;
        FirstFrame(w);
    }
}
BENCHMARK(BM_MainWindowStartup)->Unit(benchmark::kMillisecond);

void BM_BareWindowStartup(benchmark::State& state)
{
    BenchApp<QApplication>();
    // The same widgets as the main window, with the same kinds of texts, but
    // no models behind them: 27 value fields with captions and unit
    // selectors, 4 drop-down lists, 9 text boxes and a comment box, a check
    // box, group boxes, three pages, a 27 x 13 grid, a menu and a toolbar.
    for (auto _ : state) {
        QMainWindow w;
        w.resize(1001, 727);
        auto* tabs = new QTabWidget;
        auto* page = new QWidget;
        auto* grid = new QGridLayout(page);
        for (int i = 0; i < 27; ++i) {
            grid->addWidget(new QLabel(QStringLiteral("液相质量流量")), i % 9, (i / 9) * 3);
            auto* e = new QLineEdit;
            e->setPlaceholderText(QStringLiteral("[Must input]"));
            grid->addWidget(e, i % 9, (i / 9) * 3 + 1);
            auto* c = new QComboBox;
            c->addItems({QStringLiteral("m/s"), QStringLiteral("m/h"), QStringLiteral("无量纲")});
            grid->addWidget(c, i % 9, (i / 9) * 3 + 2);
        }
        for (int i = 0; i < 4; ++i) {
            auto* c = new QComboBox;
            for (int k = 0; k < 27; ++k)
                c->addItem(QStringLiteral("Kister-Gill-Tovan关联式法 %1").arg(k));
            grid->addWidget(c, 10, i);
        }
        for (int i = 0; i < 9; ++i)
            grid->addWidget(new QLineEdit(QStringLiteral("项目名称")), 11, i);
        grid->addWidget(new QPlainTextEdit, 12, 0, 1, 4);
        grid->addWidget(new QCheckBox(QStringLiteral("局部插值")), 12, 5);
        for (int i = 0; i < 4; ++i)
            grid->addWidget(new QGroupBox(QStringLiteral("液相数据")), 13, i);
        tabs->addTab(page, QStringLiteral("计算"));
        auto* table = new QTableWidget(27, 13);
        for (int r = 0; r < 27; ++r)
            for (int c = 0; c < 13; ++c)
                table->setItem(r, c, new QTableWidgetItem(QStringLiteral("Mellapak-250Y")));
        tabs->addTab(table, QStringLiteral("常量"));
        tabs->addTab(new QWidget, QStringLiteral("操作性能图"));
        w.setCentralWidget(tabs);
        QMenu* m = w.menuBar()->addMenu(QStringLiteral("&F 文件"));
        for (int i = 0; i < 12; ++i)
            m->addAction(QStringLiteral("&N 新建"));
        QToolBar* tb = w.addToolBar(QStringLiteral("tools"));
        tb->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        for (int i = 0; i < 9; ++i)
            tb->addAction(w.style()->standardIcon(QStyle::SP_FileIcon), QStringLiteral("保存报表"));
        FirstFrame(w);
    }
}
BENCHMARK(BM_BareWindowStartup)->Unit(benchmark::kMillisecond);

void BM_EditToRepaint(benchmark::State& state)
{
    BenchApp<QApplication>();
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    TFormVELK w;
    CalcPage& page = w.Page();
    const char* values[][2] = {{"LD", "2.5"},     {"VD", "3.0"},      {"DlD", "800"},  {"DvD", "2.5"},
                               {"MlD", "0.0003"}, {"MvD", "0.00001"}, {"SLD", "0.02"}, {"DlfD", "2e-9"},
                               {"DvfD", "1e-5"},  {"alfD", "2"}};
    for (auto& v : values)
        page.Field(v[0])->SetText(v[1]);
    page.LDExit();
    FirstFrame(w);
    auto* ld = w.findChild<TEditDWidget*>(QStringLiteral("LD"));
    bool toggle = false;
    for (auto _ : state) {
        ld->model()->SetText(toggle ? "2.5" : "2.6");
        toggle = !toggle;
        ld->model()->DoExit();
        w.repaint();
    }
    if (!sink.messages.empty()) state.SkipWithError(sink.messages.front().text.c_str());
}
BENCHMARK(BM_EditToRepaint)->Unit(benchmark::kMillisecond);

} // namespace
