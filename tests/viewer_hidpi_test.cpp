// The window on a screen of device pixel ratio 2 (run with QT_SCALE_FACTOR=2): the layout keeps its
// logical size and the square shows each picture pixel as one sharp 2 x 2 block.
#include <QAbstractButton>
#include <QTest>

#include "geometry/view_changes.h"
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
    }
};

QTEST_MAIN(ViewerHiDpiTest)
#include "viewer_hidpi_test.moc"
