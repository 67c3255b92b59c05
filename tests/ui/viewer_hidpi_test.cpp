// The window on a screen of device pixel ratio 2 (run with QT_SCALE_FACTOR=2): the layout keeps its
// logical size and the square shows each picture pixel as one sharp 2 x 2 block.
#include <QAbstractButton>
#include <QTest>

#include "geometry/view_changes.h"
#include "session/view_session.h"
#include "surfaces/registry.h"
#include "window_test_support.h"

class ViewerHiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void theSquareIsScaledWithoutSmoothing()
    {
        CViewerDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.devicePixelRatio(), 2.0);
        QCOMPARE(dlg.size(), QSize(764, 522));
        QTest::mouseClick(dlg.findChild<QAbstractButton*>("IDC_SURFACE_TORUS"), Qt::LeftButton);
        const QImage shown = dlg.grab(kFrameRect).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(2 * kCanvasSide, 2 * kCanvasSide));
        ViewState view;
        ResetViewState(view);
        view.surface = kTorus;
        const QImage frame = FrameOf(view);
        int blocksOff = 0;
        for (int row = 0; row < kCanvasSide; ++row)
            for (int col = 0; col < kCanvasSide; ++col) {
                const QRgb c = frame.pixel(col, row);
                blocksOff += shown.pixel(2 * col, 2 * row) != c || shown.pixel(2 * col + 1, 2 * row) != c ||
                             shown.pixel(2 * col, 2 * row + 1) != c || shown.pixel(2 * col + 1, 2 * row + 1) != c;
            }
        QCOMPARE(blocksOff, 0);
        QVERIFY(CountPixels(frame, [](QRgb c) { return c == qRgb(0, 0, 255); }) > 500);

        // A larger window: the figure at the square's side in logical pixels, each a sharp block too.
        dlg.resize(1000, 700);
        QTRY_COMPARE(dlg.SquareRect().width(), 700 - 22);
        const int side = dlg.SquareRect().width();
        const QImage large = dlg.grab(dlg.SquareRect()).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(large.size(), QSize(2 * side, 2 * side));
        const Wireframe& wire = BuiltinWireframe(kTorus);
        std::vector<std::uint32_t> figure;
        DrawShownFrame(BeginFrame(view, wire), wire, FrameStyle{}, side, figure);
        QCOMPARE(figure.size(), size_t(side) * side);
        blocksOff = 0;
        for (int row = 0; row < side; ++row)
            for (int col = 0; col < side; ++col) {
                const QRgb c = figure[size_t(row) * side + col];
                blocksOff += large.pixel(2 * col, 2 * row) != c || large.pixel(2 * col + 1, 2 * row + 1) != c;
            }
        QCOMPARE(blocksOff, 0);
    }
};

QTEST_MAIN(ViewerHiDpiTest)
#include "viewer_hidpi_test.moc"
