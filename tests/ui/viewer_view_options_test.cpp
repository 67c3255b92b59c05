// The "Vista" group offscreen: its layout, each switch by click and by key drawing the styled frame
// from the same camera, and a save that holds the options, as the command line writes them.
#include <string>
#include <string_view>
#include <vector>

#include <QAction>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/render_cli.h"
#include "cli_run_support.h"
#include "geometry/view_changes.h"
#include "render/theme.h"
#include "window_test_support.h"

namespace {

// The styled frame of the first view of kind, drawn apart from the window.
QImage StyledFrame(SurfaceKind kind, const FrameStyle& style)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kind;
    const Wireframe& wire = BuiltinWireframe(kind);
    RasterCanvas canvas;
    DrawFrame(BeginFrame(view, wire), wire, style, canvas);
    QImage image(kCanvasSide, kCanvasSide, QImage::Format_RGB32);
    for (int row = 0; row < kCanvasSide; ++row)
        for (int col = 0; col < kCanvasSide; ++col)
            image.setPixel(col, row, canvas.PixelAt(col, row));
    return image;
}

}   // namespace

class ViewerViewOptionsTest : public QObject {
    Q_OBJECT

    CViewerDlg* dlg = nullptr;

    QCheckBox* Box(const char* name) { return dlg->findChild<QCheckBox*>(name); }
    QSpinBox* Width() { return dlg->findChild<QSpinBox*>("IDC_VIEW_LINE_WIDTH"); }
    QComboBox* ThemeList() { return dlg->findChild<QComboBox*>("IDC_VIEW_THEME"); }
    QAction* SwapEyes()
    {
        for (QAction* action : dlg->actions())
            if (action->text() == QString::fromUtf8("&Intercambiar ojos"))
                return action;
        return nullptr;
    }

private slots:
    void init()
    {
        dlg = new CViewerDlg;
        QVERIFY(ShowActive(*dlg));
    }
    void cleanup() { delete dlg; }

    void theGroupStandsBelowCerrarInEightRowsWithTheTurnSwitchLast()
    {
        auto* group = dlg->findChild<QGroupBox*>("IDC_GROUP_VIEW");
        QVERIFY(group->geometry().top() > dlg->findChild<QWidget*>("IDCANCEL")->geometry().bottom());
        QCOMPARE(group->title(), QStringLiteral("Vista"));
        QVERIFY(group->fontMetrics().horizontalAdvance(group->title()) + 10 <= group->width());
        // Eight rows, top to bottom, each one's controls side by side and their first ones aligned.
        const std::vector<std::vector<const char*>> rows = {
            {"IDC_VIEW_HIDDEN"}, {"IDC_VIEW_DEPTH_CUE"}, {"IDC_VIEW_ANAGLYPH"}, {"IDC_VIEW_PARALLEL"},
            {"IDC_VIEW_AXES", "IDC_VIEW_TICKS"}, {"IDC_STATIC_LINE_WIDTH", "IDC_VIEW_LINE_WIDTH"},
            {"IDC_STATIC_THEME", "IDC_VIEW_THEME"}, {"IDC_VIEW_TURN", "IDC_VIEW_FRAME"}};
        const auto at = [&](const char* name) { return dlg->findChild<QWidget*>(name)->geometry(); };
        for (std::size_t r = 0; r < rows.size(); ++r) {
            QCOMPARE(at(rows[r][0]).left(), at(rows[0][0]).left());
            if (r > 0)
                QVERIFY2(at(rows[r][0]).top() > at(rows[r - 1][0]).bottom(), rows[r][0]);
            for (std::size_t k = 1; k < rows[r].size(); ++k)
                QVERIFY2(at(rows[r][k]).top() == at(rows[r][0]).top() && at(rows[r][k]).left() > at(rows[r][k - 1]).right(), rows[r][k]);
        }
        for (const char* name : {"IDC_VIEW_HIDDEN", "IDC_VIEW_DEPTH_CUE", "IDC_VIEW_ANAGLYPH", "IDC_VIEW_PARALLEL", "IDC_VIEW_AXES",
                                 "IDC_VIEW_TICKS"}) {
            QVERIFY2(Box(name)->sizeHint().width() <= Box(name)->width(), name);
            QVERIFY2(Box(name)->sizeHint().height() <= Box(name)->height() + 3, name);
            QVERIFY(!Box(name)->isChecked());
            QVERIFY(!Box(name)->toolTip().isEmpty());
        }
        QCOMPARE(Box("IDC_VIEW_HIDDEN")->text(), QString::fromUtf8("Ocultar líneas traseras"));
        QCOMPARE(Box("IDC_VIEW_DEPTH_CUE")->text(), QString::fromUtf8("Color por profundidad"));
        QCOMPARE(Box("IDC_VIEW_ANAGLYPH")->text(), QString::fromUtf8("Anaglifo rojo/cian"));
        QCOMPARE(Box("IDC_VIEW_PARALLEL")->text(), QString::fromUtf8("Proyección paralela"));
        QCOMPARE(Box("IDC_VIEW_AXES")->text(), QStringLiteral("Ejes"));
        QVERIFY(Box("IDC_VIEW_AXES")->toolTip().contains(QStringLiteral("tecla E")));
        auto* widthLabel = dlg->findChild<QLabel*>("IDC_STATIC_LINE_WIDTH");
        QCOMPARE(widthLabel->text(), QStringLiteral("Grosor"));
        QVERIFY(Width()->minimum() == 1 && Width()->maximum() == 4 && Width()->value() == 1);
        auto* themeLabel = dlg->findChild<QLabel*>("IDC_STATIC_THEME");
        QCOMPARE(themeLabel->text(), QStringLiteral("Tema"));
        QCOMPARE(themeLabel->buddy(), ThemeList());
        QCOMPARE(ThemeList()->count(), 3);
        QCOMPARE(ThemeList()->itemText(0), QStringLiteral("Pantalla"));
        QCOMPARE(ThemeList()->itemText(1), QStringLiteral("Papel"));
        QCOMPARE(ThemeList()->itemText(2), QStringLiteral("Proyector"));
        QCOMPARE(ThemeList()->currentIndex(), 0);
        QVERIFY(ThemeList()->toolTip().contains(QStringLiteral("tecla T")));
        for (int i = 0; i < ThemeList()->count(); ++i)   // every theme's name fits beside the arrow
            QVERIFY(ThemeList()->fontMetrics().horizontalAdvance(ThemeList()->itemText(i)) + 20 <= ThemeList()->width());
        // Every row inside the group, none over another, over the square or over any other control.
        QList<QWidget*> inGroup;
        for (QWidget* child : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child != group && group->geometry().intersects(child->geometry()))
                inGroup.append(child);
        QCOMPARE(inGroup.size(), 12);   // six switches, two labels, the width, the theme, "Girar" and "Encuadrar"
        for (QWidget* a : inGroup) {
            QVERIFY2(group->geometry().adjusted(1, 12, -1, -1).contains(a->geometry()), qPrintable(a->objectName()));
            QVERIFY(!a->geometry().intersects(kFrameRect));
            for (QWidget* b : inGroup)
                QVERIFY2(a == b || !a->geometry().intersects(b->geometry()), qPrintable(a->objectName() + b->objectName()));
        }
        QVERIFY(dlg->Style() == FrameStyle{});
    }

    void eachSwitchRedrawsTheSameCameraInItsStyle_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::newRow("hidden") << "IDC_VIEW_HIDDEN" << int(Qt::Key_O);
        QTest::newRow("depth cue") << "IDC_VIEW_DEPTH_CUE" << int(Qt::Key_C);
        QTest::newRow("anaglyph") << "IDC_VIEW_ANAGLYPH" << int(Qt::Key_A);
        QTest::newRow("parallel") << "IDC_VIEW_PARALLEL" << int(Qt::Key_P);
    }
    void eachSwitchRedrawsTheSameCameraInItsStyle()
    {
        QFETCH(QString, name);
        QFETCH(int, key);
        ClickSurface(*dlg, kTorus);
        const ViewState before = dlg->View();
        const QImage plain = ShownFrame(*dlg);
        QCheckBox* box = Box(qPrintable(name));
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        FrameStyle style;
        style.hiddenLines = name == "IDC_VIEW_HIDDEN";
        style.depthCue = name == "IDC_VIEW_DEPTH_CUE";
        style.anaglyph = name == "IDC_VIEW_ANAGLYPH";
        style.parallel = name == "IDC_VIEW_PARALLEL";
        QVERIFY(dlg->Style() == style);
        const QImage styled = ShownFrame(*dlg);
        QCOMPARE(CountDifferences(styled, StyledFrame(kTorus, style)), 0);
        QVERIFY(CountDifferences(styled, plain) > 100);
        QCOMPARE(dlg->FramesRendered(), 1);   // no camera step: the view is not touched
        QVERIFY(std::memcmp(&before.up, &dlg->View().up, sizeof before.up) == 0);
        QTest::keyClick(dlg, Qt::Key(key));   // the key switches it back
        QVERIFY(!box->isChecked());
        QCOMPARE(CountDifferences(ShownFrame(*dlg), plain), 0);
    }

    void widthAndSwapFollowTheirKeysAndTheDistanceTipFollowsParallel()
    {
        ClickSurface(*dlg, kSphere);
        QTest::keyClick(dlg, Qt::Key_G);
        QTest::keyClick(dlg, Qt::Key_G);
        QCOMPARE(Width()->value(), 3);
        QTest::keyClick(dlg, Qt::Key_G, Qt::ShiftModifier);
        QCOMPARE(dlg->Style().lineWidth, 2);
        QVERIFY(!SwapEyes()->isEnabled());
        QTest::keyClick(dlg, Qt::Key_I);   // nothing to exchange without the anaglyph
        QVERIFY(!dlg->Style().swapEyes);
        QTest::keyClick(dlg, Qt::Key_A);
        QTest::keyClick(dlg, Qt::Key_I);
        QVERIFY(dlg->Style().anaglyph && dlg->Style().swapEyes);
        FrameStyle style;
        style.anaglyph = style.swapEyes = true;
        style.lineWidth = 2;
        QCOMPARE(CountDifferences(ShownFrame(*dlg), StyledFrame(kSphere, style)), 0);
        auto* distance = dlg->findChild<QScrollBar*>("IDC_SCROLL_DISTANCE");
        QVERIFY(!distance->toolTip().contains(QString::fromUtf8("paralela")));
        QTest::keyClick(dlg, Qt::Key_P);
        QVERIFY(distance->toolTip().contains(QString::fromUtf8("Sin efecto con la proyección paralela")));
    }

    void savingHoldsTheOptionsAsTheCommandLineWritesThem()
    {
        ClickSurface(*dlg, kTorus);
        for (const char* name : {"IDC_VIEW_HIDDEN", "IDC_VIEW_DEPTH_CUE", "IDC_VIEW_ANAGLYPH", "IDC_VIEW_PARALLEL"})
            QTest::mouseClick(Box(name), Qt::LeftButton);
        QTest::keyClick(dlg, Qt::Key_I);
        QTest::keyClick(dlg, Qt::Key_G);
        QTemporaryDir dir;
        for (const char* extension : {".png", ".svg"}) {
            const QString saved = dir.filePath(QStringLiteral("ventana") + extension);
            const QString written = dir.filePath(QStringLiteral("orden") + extension);
            QVERIFY(dlg->SaveFrame(saved));
            QCOMPARE(RenderCli({"-s", "toro", "--hidden", "--depth-cue", "--anaglyph", "--swap-eyes", "--parallel",
                                "--line-width", "2", "-o", written.toStdString()}),
                     0);
            QCOMPARE(Bytes(saved), Bytes(written));
            QCOMPARE(Bytes(saved).isEmpty(), false);
        }
    }

    void keysTurnTheThemeAndTheAxesAndMoveTheirControls()
    {
        ClickSurface(*dlg, kTorus);
        const QImage plain = ShownFrame(*dlg);
        QTest::keyClick(dlg, Qt::Key_T);   // papel: the same lines in black on white
        QCOMPARE(dlg->Style().theme, Theme::Papel);
        QCOMPARE(ThemeList()->currentText(), QStringLiteral("Papel"));
        const QImage paper = ShownFrame(*dlg);
        QCOMPARE(paper.pixel(250, 2), qRgb(255, 255, 255));
        for (int row = 1; row < 499; ++row)
            for (int col = 1; col < 499; ++col)
                QCOMPARE(plain.pixel(col, row) == qRgb(0, 0, 255), paper.pixel(col, row) == qRgb(0, 0, 0));
        QTest::keyClick(dlg, Qt::Key_T);   // proyector: light lines, two pixels wide, on a dark ground
        QCOMPARE(dlg->Style().theme, Theme::Proyector);
        QCOMPARE(ThemeList()->currentText(), QStringLiteral("Proyector"));
        QCOMPARE(Width()->value(), 2);     // the theme's width, shown where the user changes it
        const Rgb wall = InfoOf(Theme::Proyector).lines;
        const int lit = CountPixels(ShownFrame(*dlg), [&](QRgb c) { return c == qRgb(wall.r, wall.g, wall.b); });
        QVERIFY(lit > CountPixels(plain, [](QRgb c) { return c == qRgb(0, 0, 255); }));
        QTest::keyClick(dlg, Qt::Key_E);   // the axes and their labels in the theme's ink
        QVERIFY(Box("IDC_VIEW_AXES")->isChecked());
        const Rgb ink = InfoOf(Theme::Proyector).ink;
        QVERIFY(CountPixels(ShownFrame(*dlg), [&](QRgb c) { return c == qRgb(ink.r, ink.g, ink.b); }) > 300);
        QTest::keyClick(dlg, Qt::Key_T);
        QTest::keyClick(dlg, Qt::Key_E);
        QVERIFY(ThemeList()->currentIndex() == 0 && !Box("IDC_VIEW_AXES")->isChecked() && Width()->value() == 1);
        QCOMPARE(dlg->Style(), FrameStyle{});
        QCOMPARE(CountDifferences(ShownFrame(*dlg), plain), 0);   // back to the plain frame, to the pixel
        QCOMPARE(dlg->FramesRendered(), 1);   // styles only: the camera was never stepped again
    }

    void theThemeListAndTheAxesBoxByMouseDrawAsTheCommandLine()
    {
        ClickSurface(*dlg, kTorus);
        const QImage plain = ShownFrame(*dlg);
        QTest::keyClick(dlg, Qt::Key_G);   // the user's width, which choosing a theme replaces
        QTest::mouseClick(Box("IDC_VIEW_AXES"), Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(dlg->Style().axes);
        // The list opened with the mouse and "Proyector" clicked in it, as a hand chooses.
        QTest::mouseClick(ThemeList(), Qt::LeftButton);
        QAbstractItemView* popup = ThemeList()->view();
        QVERIFY(QTest::qWaitForWindowExposed(popup->window()));
        const QRect item = popup->visualRect(popup->model()->index(2, 0));
        QTest::mouseMove(popup->viewport(), popup->visualRect(popup->model()->index(0, 0)).center());
        QTest::mouseMove(popup->viewport(), item.center());   // a hand moves onto the item first
        QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, item.center());
        QCOMPARE(ThemeList()->currentIndex(), 2);
        QCOMPARE(dlg->Style().theme, Theme::Proyector);
        QCOMPARE(Width()->value(), InfoOf(Theme::Proyector).lineWidth);
        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("ventana.png"));
        const QString written = dir.filePath(QStringLiteral("orden.png"));
        QVERIFY(dlg->SaveFrame(saved));
        QCOMPARE(RenderCli({"-s", "toro", "--theme", "proyector", "--axes", "-o", written.toStdString()}), 0);
        QCOMPARE(Bytes(saved), Bytes(written));
        QImage fromCli(written);
        QCOMPARE(CountDifferences(ShownFrame(*dlg), fromCli.convertToFormat(QImage::Format_RGB32)), 0);
        // "Pantalla" again by the list, the axes off by their box: today's frame to the pixel.
        ThemeList()->setFocus();
        QTest::keyClick(ThemeList(), Qt::Key_Up);
        QTest::keyClick(ThemeList(), Qt::Key_Up);
        QTest::mouseClick(Box("IDC_VIEW_AXES"), Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(dlg->Style(), FrameStyle{});
        QCOMPARE(CountDifferences(ShownFrame(*dlg), plain), 0);
    }
};

QTEST_MAIN(ViewerViewOptionsTest)
#include "viewer_view_options_test.moc"
