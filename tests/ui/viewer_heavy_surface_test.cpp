// A surface chosen in "Otra:" is sampled off the window's thread, so a heavy one leaves the window
// painting; the choice still ends on that surface, drawn.
#include <atomic>

#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <QThread>

#include "window_test_support.h"

class HeavySurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void aChosenSurfaceIsSampledOffTheWindowsThreadAndThenShown()
    {
        SurfaceRegistry surfaces;
        const QThread* gui = QThread::currentThread();
        std::atomic<int> traced{0};
        std::atomic<bool> onGuiThread{false};
        const SurfaceKind heavy = surfaces.Add("pesada", "Pesada", [&] {
            ++traced;
            onGuiThread = QThread::currentThread() == gui;
            QThread::msleep(50);   // long enough for the window to wait on it
            return BuiltinWireframe(kTorus);
        });
        CViewerDlg dlg(surfaces);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* list = dlg.findChild<QComboBox*>("IDC_SURFACE_LIST");
        QVERIFY(list);
        const int index = list->findData(heavy);
        QVERIFY(index >= 0);
        list->setCurrentIndex(index);
        QTest::mouseClick(dlg.findChild<QRadioButton*>("IDC_OTHER_SURFACE"), Qt::LeftButton);

        QCOMPARE(dlg.View().surface, heavy);
        QCOMPARE(traced.load(), 1);
        QVERIFY2(!onGuiThread, "the surface was sampled on the window's thread");
    }
};

QTEST_MAIN(HeavySurfaceTest)
#include "viewer_heavy_surface_test.moc"
