// The projector in the window, on a 1920 x 1080 screen offscreen: full screen's text at the
// session's size with the controls grown with it, and H hiding every control but the picture and
// "Parámetros", then showing them again, all by real keys.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QScreen>
#include <QTest>

#include "session/presentation.h"
#include "window_test_support.h"

class ViewerPresentationTest : public QObject {
    Q_OBJECT

    CViewerDlg* dlg = nullptr;

    QWidget* Child(const char* name) { return dlg->findChild<QWidget*>(name); }
    void ShowPlucker()
    {
        auto* list = dlg->findChild<QComboBox*>("IDC_SURFACE_LIST");
        list->setCurrentIndex(list->findData(dlg->Surfaces().FindId("plucker")->number));
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("IDC_OTHER_SURFACE"), Qt::LeftButton);
    }

private slots:
    void init()
    {
        dlg = new CViewerDlg;
        QVERIFY(ShowActive(*dlg));
        ShowPlucker();
    }
    void cleanup() { delete dlg; }

    void fullScreenGrowsTheTextAndTheControlsAndEscapeGivesTheTemplateBack()
    {
        QCOMPARE(dlg->screen()->size(), QSize(1920, 1080));
        const QRect surfaceGroup = Child("IDC_GROUP_SURFACE")->geometry();
        const int own = dlg->font().pixelSize();
        QTest::keyClick(dlg, Qt::Key_F11);
        QTRY_COMPARE(dlg->size(), QSize(1920, 1080));
        QTRY_COMPARE(dlg->font().pixelSize(), FullScreenTextPixels(own, 1920, 1080));
        QVERIFY(dlg->font().pixelSize() >= 18);
        QCOMPARE(Child("IDC_VIEW_HIDDEN")->font().pixelSize(), dlg->font().pixelSize());
        QCOMPARE(Child("IDC_PARAM_ANIMATE")->font().pixelSize(), dlg->font().pixelSize());
        const double scale = dlg->font().pixelSize() / double(own);
        QCOMPARE(Child("IDC_GROUP_SURFACE")->width(), qRound(surfaceGroup.width() * scale));
        // Every control inside the screen, beside the square, never over it.
        for (const char* name : {"IDC_GROUP_SURFACE", "IDC_GROUP_VIEW", "IDC_SCROLL_DISTANCE", "IDC_GROUP_PARAMS", "IDCANCEL"}) {
            const QRect place = Child(name)->geometry();
            QVERIFY2(QRect(QPoint(), dlg->size()).contains(place) && !place.intersects(dlg->SquareRect()), name);
        }
        QVERIFY(dlg->SquareRect().height() >= 1000);
        QTest::keyClick(dlg, Qt::Key_Escape);
        QTRY_VERIFY(!dlg->isFullScreen());
        QTRY_COMPARE(dlg->size(), QSize(764, 522));
        QCOMPARE(dlg->font().pixelSize(), own);
        QCOMPARE(Child("IDC_GROUP_SURFACE")->geometry(), surfaceGroup);
        QCOMPARE(dlg->SquareRect(), kFrameRect);
    }

    void hHidesAllButThePictureAndTheParametersAndShowsThemAgain()
    {
        QTest::keyClick(dlg, Qt::Key_F11);
        QTRY_COMPARE(dlg->size(), QSize(1920, 1080));
        const QRect square = dlg->SquareRect();
        const char* hidden[] = {"IDC_GROUP_SURFACE", "IDC_SURFACE_TORUS", "IDC_SURFACE_LIST", "IDC_GROUP_VIEW", "IDC_VIEW_THEME",
                                "IDC_SCROLL_ZOOM",   "IDC_STATIC_BARS",   "IDC_ABOUT_BUTTON", "IDCANCEL"};
        for (int round = 0; round < 2; ++round) {
            QTest::keyClick(Child("IDC_FRAME_SQUARE"), Qt::Key_H);
            for (const char* name : hidden)
                QVERIFY2(!Child(name)->isVisible(), name);
            QVERIFY(Child("IDC_FRAME_SQUARE")->isVisible() && Child("IDC_GROUP_PARAMS")->isVisible());
            QVERIFY(Child("IDC_PARAM_SLIDER_0")->isVisible());
            // The square where the left column was, "Parámetros" from the top beside it.
            QVERIFY(dlg->SquareRect().left() < square.left() && dlg->SquareRect().width() >= square.width());
            const QRect parameters = Child("IDC_GROUP_PARAMS")->geometry();
            QVERIFY(parameters.left() > dlg->SquareRect().right() && parameters.top() == dlg->SquareRect().top());
            QVERIFY(parameters.right() < dlg->width());
            QTest::keyClick(Child(round ? "IDC_PARAM_SLIDER_0" : "IDC_FRAME_SQUARE"), Qt::Key_H);   // from a slider too
            for (const char* name : hidden)
                QVERIFY2(Child(name)->isVisible(), name);
            QCOMPARE(dlg->SquareRect(), square);
        }
    }
};

QTEST_MAIN(ViewerPresentationTest)
#include "viewer_presentation_test.moc"
