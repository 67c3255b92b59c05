// The window at other sizes offscreen: the square takes the free space and is drawn at its own side
// as the command line's --size draws it, the controls stay beside it, a drag across it turns as far
// as across the first square, and F11 or Esc go to full screen and back to the first size.
#include <cmath>
#include <cstring>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/render_cli.h"
#include "cli_run_support.h"
#include "geometry/view_changes.h"
#include "window_test_support.h"

namespace {

bool SameView(const ViewState& a, const ViewState& b)
{
    return std::memcmp(&a.eye, &b.eye, sizeof a.eye) == 0 && std::memcmp(&a.up, &b.up, sizeof a.up) == 0 &&
           a.zoom == b.zoom && a.surface == b.surface;
}

QImage Shown(CViewerDlg& dlg)
{
    return dlg.grab(dlg.SquareRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

// A drag from the square's middle along offsets, each a move of the held button, as a hand makes it.
void Drag(CViewerDlg& dlg, const std::vector<QPoint>& offsets)
{
    const QPoint press = dlg.SquareRect().center();
    QTest::mousePress(&dlg, Qt::LeftButton, {}, press);
    for (QPoint offset : offsets)
        QTest::mouseMove(&dlg, press + offset);
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, press + offsets.back());
}

}   // namespace

class ViewerResizeTest : public QObject {
    Q_OBJECT

    CViewerDlg* dlg = nullptr;

    QWidget* Child(const char* name) { return dlg->findChild<QWidget*>(name); }
    void ResizeTo(QSize size)
    {
        dlg->resize(size);
        QTRY_COMPARE(dlg->size(), size);
    }

private slots:
    void init()
    {
        dlg = new CViewerDlg;
        QVERIFY(ShowActive(*dlg));
    }
    void cleanup() { delete dlg; }

    void theFirstSizeIsTheSmallestAndKeepsTheSquareWhereItWas()
    {
        QCOMPARE(dlg->size(), QSize(764, 522));
        QCOMPARE(dlg->minimumSize(), QSize(764, 522));
        QVERIFY(dlg->maximumSize().width() > 764 && dlg->maximumSize().height() > 522);
        QCOMPARE(dlg->SquareRect(), kFrameRect);
        QCOMPARE(Child("IDC_FRAME_SQUARE")->geometry(), kFrameRect.adjusted(-3, -3, 3, 3));
        dlg->resize(600, 400);   // never below the first size
        QCOMPARE(dlg->size(), QSize(764, 522));
    }

    void aLargerWindowDrawsALargerSquareAsTheCommandLineDoes()
    {
        ClickSurface(*dlg, kTorus);
        ResizeTo({1100, 900});
        const int side = 1100 - 264;   // narrower than tall: the width decides
        QCOMPARE(dlg->SquareRect(), QRect(175, 10, side, side));
        const QRect square = dlg->SquareRect();
        QCOMPARE(Child("IDC_FRAME_SQUARE")->geometry(), square.adjusted(-3, -3, 3, 3));
        for (QWidget* child : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->objectName() != QLatin1String("IDC_FRAME_SQUARE") && !child->isWindow())
                QVERIFY2(!child->geometry().intersects(square), qPrintable(child->objectName()));
        // (The bars' labels reach the group's top row, as in the first layout; both let the mouse through.)
        const char* const right[] = {"IDC_SCROLL_ZOOM", "IDC_SCROLL_DISTANCE", "IDC_GROUP_PARAMS"};
        for (const char* a : right) {
            QVERIFY2(QRect(QPoint(), dlg->size()).contains(Child(a)->geometry()) && Child(a)->geometry().left() > square.right(), a);
            for (const char* b : right)
                QVERIFY2(a == b || !Child(a)->geometry().intersects(Child(b)->geometry()), a);
        }
        // Drawn at its own side, never a scaled 500 picture: the bytes of --size for the same view.
        QTemporaryDir dir;
        const QString written = dir.filePath(QStringLiteral("orden.png"));
        QCOMPARE(RenderCli({"-s", "toro", "--size", std::to_string(side), "-o", written.toStdString()}), 0);
        const QImage cli = QImage(written).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(cli.size(), QSize(side, side));
        QCOMPARE(CountDifferences(Shown(*dlg), cli), 0);
        // In a style too, saved at the window's own size; and back at the first size, today's frame.
        for (Qt::Key key : {Qt::Key_O, Qt::Key_E, Qt::Key_T, Qt::Key_T})
            QTest::keyClick(dlg, key);
        QCOMPARE(RenderCli({"-s", "toro", "--hidden", "--axes", "--theme", "proyector", "--size", std::to_string(side),
                            "-o", written.toStdString()}),
                 0);
        QCOMPARE(CountDifferences(Shown(*dlg), QImage(written).convertToFormat(QImage::Format_RGB32)), 0);
        for (Qt::Key key : {Qt::Key_O, Qt::Key_E, Qt::Key_T})
            QTest::keyClick(dlg, key);
        ResizeTo({764, 522});
        QCOMPARE(dlg->SquareRect(), kFrameRect);
        ViewState view;
        ResetViewState(view);
        view.surface = kTorus;
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FrameOf(view)), 0);
    }

    void aWideWindowCentresTheSquareInTheFreeWidth()
    {
        ResizeTo({1600, 700});
        const int side = 700 - 22;
        QCOMPARE(dlg->SquareRect(), QRect(175 + (1600 - 264 - side) / 2, 10, side, side));
        QVERIFY(Child("IDC_SCROLL_DISTANCE")->geometry().right() < 1600);
    }

    void oneDrawPerPaintAtAnySize()
    {
        ClickSurface(*dlg, kSphere);
        ResizeTo({900, 700});
        const int drawn = dlg->PicturesDrawn();
        for (int step = 0; step < 5; ++step)   // a burst of camera steps, then one paint
            QTest::keyClick(dlg, Qt::Key_Left, Qt::ControlModifier);
        dlg->repaint();
        QCOMPARE(dlg->PicturesDrawn(), drawn + 1);
        dlg->repaint();   // an expose draws nothing anew
        QCOMPARE(dlg->PicturesDrawn(), drawn + 1);
    }

    void aDragAcrossTheSquareTurnsAsFarAtAnySide()
    {
        // At the first size: a drag right across the 500 square and down a fifth, in five moves.
        ClickSurface(*dlg, kTorus);
        Drag(*dlg, {{100, 20}, {200, 40}, {300, 60}, {400, 80}, {500, 100}});
        const ViewState across = dlg->View();
        // At 836 the same drag is 836 pixels long: each move maps to the same offset, to the pixel.
        ResizeTo({1100, 900});
        const int side = dlg->SquareRect().width();
        QCOMPARE(side, 836);
        ClickSurface(*dlg, kTorus);
        std::vector<QPoint> scaled;
        for (int k = 1; k <= 5; ++k)
            scaled.push_back(QPoint(qRound(k * 100 * side / 500.0), qRound(k * 20 * side / 500.0)));
        Drag(*dlg, scaled);
        QVERIFY(SameView(dlg->View(), across));
        // Offsets from the press, never from the last move: sixty one-pixel moves turn as far as
        // 36 pixels at the first size, not sixty rounded up one by one.
        ClickSurface(*dlg, kTorus);
        std::vector<QPoint> crawl, handedOn;
        for (int x = 1; x <= 60; ++x) {
            crawl.push_back(QPoint(x, 0));
            handedOn.push_back(QPoint(qRound(x * 500.0 / side), 0));
        }
        Drag(*dlg, crawl);
        QCOMPARE(dlg->Drag().current.x - dlg->SquareRect().center().x() - dlg->mapToGlobal(QPoint()).x(), 36);
        const ViewState crawled = dlg->View();
        ResizeTo({764, 522});
        ClickSurface(*dlg, kTorus);
        Drag(*dlg, handedOn);
        QVERIFY(SameView(dlg->View(), crawled));
    }

    void f11AndEscapeGoToFullScreenAndBackToTheFirstSize()
    {
        ClickSurface(*dlg, kTorus);
        QTest::keyClick(dlg, Qt::Key_F11);
        QTRY_VERIFY(dlg->isFullScreen());
        QTRY_COMPARE(dlg->size(), dlg->screen()->size());
        const QSize screen = dlg->screen()->size();
        // The text grows (800 x 800 has room for it), as far as the columns beside the square still fit.
        QTRY_VERIFY(dlg->font().pixelSize() > 9);
        const double scale = dlg->font().pixelSize() / 9.0;
        const auto at = [scale](int pixels) { return static_cast<int>(std::lround(pixels * scale)); };
        QTRY_COMPARE(dlg->SquareRect().width(), std::min(screen.width() - at(175) - at(89), screen.height() - at(10) - at(12)));
        const QWidget* bar = dlg->findChild<QWidget*>(QStringLiteral("IDC_SCROLL_DISTANCE"));
        QVERIFY(bar && bar->geometry().right() < screen.width());
        QCOMPARE(Shown(*dlg).size(), dlg->SquareRect().size());
        QTest::keyClick(dlg, Qt::Key_F11);
        QTRY_VERIFY(!dlg->isFullScreen());
        QTRY_COMPARE(dlg->size(), QSize(764, 522));
        QCOMPARE(dlg->SquareRect(), kFrameRect);
        QTest::keyClick(dlg, Qt::Key_F11);
        QTRY_VERIFY(dlg->isFullScreen());
        QTest::keyClick(dlg, Qt::Key_Escape);   // out of full screen first, the window still open
        QTRY_VERIFY(!dlg->isFullScreen());
        QVERIFY(dlg->isVisible());
        QTRY_COMPARE(dlg->size(), QSize(764, 522));
        QTest::keyClick(dlg, Qt::Key_Escape);   // then it closes, as ever
        QVERIFY(!dlg->isVisible() && dlg->result() == QDialog::Rejected);
    }
};

QTEST_MAIN(ViewerResizeTest)
#include "viewer_resize_test.moc"
