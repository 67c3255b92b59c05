// The turntable offscreen: Space, Ctrl+Space and "Girar" start and stop it, a held button pauses it,
// nothing runs when stopped; a saved animation is the command line's turn, and cancelling leaves nothing.
#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/render_cli.h"
#include "cli_run_support.h"
#include "geometry/view_changes.h"
#include "gif_decoding.h"
#include "window_test_support.h"

namespace {

std::vector<std::uint32_t> ColoursOf(const QImage& image)
{
    std::vector<std::uint32_t> colours;
    for (int row = 0; row < image.height(); ++row)
        for (int col = 0; col < image.width(); ++col)
            colours.push_back(image.pixel(col, row) & 0xFFFFFFu);
    return colours;
}

bool SameEye(const ViewState& a, const ViewState& b)
{
    return a.eye.x == b.eye.x && a.eye.y == b.eye.y && a.eye.z == b.eye.z;
}

}   // namespace

class ViewerMotionTest : public QObject {
    Q_OBJECT

    CViewerDlg* dlg = nullptr;
    QWidget* square = nullptr;
    QCheckBox* turn = nullptr;
    QTimer* timer = nullptr;
    std::unique_ptr<QTemporaryDir> dir;

    QString PathOf(const char* name) { return dir->filePath(QString::fromUtf8(name)); }
    std::string CliPath(const char* name) { return QFile::encodeName(PathOf(name)).toStdString(); }
    // Waits for the timer's next ticks, each of which has reached the window when the spy sees it.
    void WaitTicks(int count)
    {
        QSignalSpy ticks(timer, &QTimer::timeout);
        while (ticks.count() < count)
            QVERIFY(ticks.wait(2000));
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        dlg = new CViewerDlg;
        QVERIFY(ShowActive(*dlg));
        square = dlg->findChild<QWidget*>("IDC_FRAME_SQUARE");
        turn = dlg->findChild<QCheckBox*>("IDC_VIEW_TURN");
        timer = dlg->findChild<QTimer*>("IDT_TURN");
        QVERIFY(square && turn && timer);
    }
    void cleanup() { delete dlg; }

    void theSwitchStandsInTheViewGroup()
    {
        QCOMPARE(turn->text(), QStringLiteral("Girar"));
        auto* group = dlg->findChild<QWidget*>("IDC_GROUP_VIEW");
        QVERIFY(group->geometry().contains(turn->geometry()));
        QVERIFY(square->toolTip().contains(QStringLiteral("Ctrl+Espacio")));
    }

    void spaceOnTheSquareStartsAndStopsTheTurn()
    {
        ClickSurface(*dlg, kTorus);
        QVERIFY(!timer->isActive());   // stopped: no timer runs at all
        const QImage still = ShownFrame(*dlg);
        const ViewState before = dlg->View();
        square->setFocus();
        QTest::keyClick(square, Qt::Key_Space);
        QVERIFY(timer->isActive() && dlg->IsTurning() && turn->isChecked());
        WaitTicks(2);
        // The eye goes round the picture's vertical at its distance: the height along up stays.
        const Vec3 eye = dlg->View().eye;
        QVERIFY(!SameEye(dlg->View(), before));
        QVERIFY(std::abs(VecLength(eye) - VecLength(before.eye)) < 1e-9);
        QVERIFY(std::abs(VecDot(eye, before.up) - VecDot(before.eye, before.up)) < 1e-6);
        QVERIFY(CountDifferences(ShownFrame(*dlg), still) > 100);
        QTest::keyClick(square, Qt::Key_Space);
        QVERIFY(!timer->isActive() && !turn->isChecked());
        const int frames = dlg->FramesRendered();
        QTest::qWait(0);
        QCOMPARE(dlg->FramesRendered(), frames);
    }

    void ctrlSpaceAndTheSwitchWorkFromAnywhere()
    {
        ClickSurface(*dlg, kSphere);
        QWidget* close = dlg->findChild<QWidget*>("IDCANCEL");
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(timer->isActive() && turn->isChecked());
        QVERIFY(dlg->isVisible());   // the focused button was not pressed
        QTest::keyClick(close, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(!timer->isActive());
        QTest::mouseClick(turn, Qt::LeftButton, {}, QPoint(8, 10));   // on its box
        QVERIFY(timer->isActive());
        WaitTicks(1);
        QTest::mouseClick(turn, Qt::LeftButton, {}, QPoint(8, 10));   // on its box
        QVERIFY(!timer->isActive() && !turn->isChecked());
    }

    void spaceStillPressesAFocusedButton()
    {
        ClickSurface(*dlg, kTorus);
        int opened = 0;
        ModalCloser closer([&](QWidget& modal) {
            ++opened;
            qobject_cast<QDialog*>(&modal)->reject();
        });
        QWidget* instructions = dlg->findChild<QWidget*>("IDC_INSTRUCTIONS_BUTTON");
        instructions->setFocus();
        QTest::keyClick(instructions, Qt::Key_Space);
        QCOMPARE(opened, 1);
        QVERIFY(!timer->isActive());
    }

    void withoutASurfaceNothingTurns()
    {
        QTest::mouseClick(turn, Qt::LeftButton, {}, QPoint(8, 10));   // on its box
        QVERIFY(!turn->isChecked() && !timer->isActive());
        square->setFocus();
        QTest::keyClick(square, Qt::Key_Space);
        QVERIFY(!timer->isActive());
        QCOMPARE(dlg->FramesRendered(), 0);
    }

    void aHeldButtonPausesTheTurnAndADragWorksAsUsual()
    {
        ClickSurface(*dlg, kSaddle);
        dlg->SetTurning(true);
        const QPoint start(420, 260);
        QTest::mousePress(dlg, Qt::LeftButton, {}, start);
        const ViewState held = dlg->View();
        const int frames = dlg->FramesRendered();
        WaitTicks(3);
        QVERIFY(SameEye(dlg->View(), held));
        QCOMPARE(dlg->FramesRendered(), frames);
        QTest::mouseMove(dlg, start + QPoint(30, 0));   // the drag step is made as without the turn
        ViewState expected = held;
        OrbitEye(expected, {0, 0}, {30, 0});   // the travel alone counts
        QVERIFY(SameEye(dlg->View(), expected));
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, start + QPoint(30, 0));
        const ViewState released = dlg->View();
        WaitTicks(1);
        QVERIFY(!SameEye(dlg->View(), released));   // turning again
        QVERIFY(timer->isActive());
        ClickSurface(*dlg, kSine);                               // a surface choice keeps the turn going
        QVERIFY(timer->isActive());
        QCOMPARE(dlg->View().surface, kSine);
    }

    void savedAnimationIsTheCommandLinesTurnOfTheShownView()
    {
        ClickSurface(*dlg, kTorus);
        QVERIFY(dlg->SaveAnimation(PathOf("window.gif")));
        QCOMPARE(RenderCli({"-s", "toro", "--turn", "300", "-o", CliPath("cli.gif")}), 0);
        QCOMPARE(Bytes(PathOf("window.gif")), Bytes(PathOf("cli.gif")));
        // After a drag and a zoom, the first frame is the picture shown.
        QTest::mousePress(dlg, Qt::LeftButton, {}, QPoint(300, 400));
        QTest::mouseMove(dlg, QPoint(254, 425));
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, QPoint(254, 425));
        QVERIFY(dlg->SaveAnimation(PathOf("dragged.gif")));
        const DecodedGif gif = DecodeGif(Bytes(PathOf("dragged.gif")).toStdString());
        QCOMPARE(gif.frames.size(), size_t{300});
        QVERIFY(gif.frames[0] == ColoursOf(ShownFrame(*dlg)));
        QCOMPARE(gif.loopCount, 0);
    }

    void cancellingTheProgressLeavesNothingAndAFailureIsShown()
    {
        ClickSurface(*dlg, kTorus);
        for (bool escape : {false, true}) {   // the "Cancelar" button, then the Escape key
            QString title, label;
            ModalCloser cancel([&](QWidget& modal) {
                auto* progress = qobject_cast<QProgressDialog*>(&modal);
                QVERIFY(progress != nullptr);
                title = progress->windowTitle();
                label = progress->labelText();
                auto* button = progress->findChild<QPushButton*>();
                QCOMPARE(button->text(), QStringLiteral("Cancelar"));
                if (escape)
                    QTest::keyClick(progress, Qt::Key_Escape);
                else
                    QTest::mouseClick(button, Qt::LeftButton);
            });
            QVERIFY(!dlg->SaveAnimation(PathOf("cancelled.gif")));
            QCOMPARE(cancel.Seen(), 1);   // the progress alone: a cancel is no failure to report
            QCOMPARE(title, QString::fromUtf8("Guardar animación"));
            QCOMPARE(label, QString::fromUtf8("Guardando la animación…"));
            QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 0);
        }

        QString message;
        ModalCloser closer([&](QWidget& modal) {
            if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
                message = box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        QVERIFY(!dlg->SaveAnimation(PathOf("missing/turn.gif")));
        QVERIFY(message.startsWith(QString::fromUtf8("No se pudo guardar «")));
        QVERIFY(message.contains(QStringLiteral("turn.gif")));
    }

    void theContextMenuSavesThroughASpanishFileDialog()
    {
        ClickSurface(*dlg, kTorus);
        QString proposed;
        QStringList filters;
        ModalCloser closer([&](QWidget& modal) {
            if (auto* files = qobject_cast<QFileDialog*>(&modal)) {
                proposed = files->findChild<QLineEdit*>("fileNameEdit")->text();
                filters = files->nameFilters();
                auto* name = files->findChild<QLineEdit*>("fileNameEdit");
                name->setText(PathOf("vuelta"));
                QTest::keyClick(name, Qt::Key_Return);
            }
        });
        ChooseFromPictureMenu(*dlg, QString::fromUtf8("Guardar &animación…"));
        QCOMPARE(proposed, QStringLiteral("toro.gif"));
        QCOMPARE(filters, QStringList{QString::fromUtf8("Animación GIF (*.gif)")});
        QCOMPARE(DecodeGif(Bytes(PathOf("vuelta.gif")).toStdString()).frames.size(), size_t{300});
    }
};

QTEST_MAIN(ViewerMotionTest)
#include "viewer_motion_test.moc"
