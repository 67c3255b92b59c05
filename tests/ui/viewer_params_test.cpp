// The "Parámetros" group offscreen: sliders for the shown surface's parameters, a real drag that
// samples the surface again without touching the view, "Animar", and a saved sweep.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

#include "app/cli_options.h"
#include "cli_run_support.h"
#include "gif_decoding.h"
#include "surfaces/expression.h"
#include "ui/help_dlg.h"
#include "window_test_support.h"

class ViewerParamsTest : public QObject {
    Q_OBJECT

    CViewerDlg* dlg = nullptr;

    QSlider* Slider(int i) { return dlg->findChild<QSlider*>(QStringLiteral("IDC_PARAM_SLIDER_%1").arg(i)); }
    QGroupBox* Group() { return dlg->findChild<QGroupBox*>("IDC_GROUP_PARAMS"); }
    QLabel* Value() { return dlg->findChild<QLabel*>("IDC_PARAM_VALUE"); }

    void Show(const char* id)
    {
        auto* list = dlg->findChild<QComboBox*>("IDC_SURFACE_LIST");
        list->setCurrentIndex(list->findData(dlg->Surfaces().FindId(id)->number));
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("IDC_OTHER_SURFACE"), Qt::LeftButton);
    }

    // A drag of the slider's handle by dy pixels, as a hand makes it.
    void DragHandle(QSlider* slider, int dy)
    {
        const int span = slider->height() - slider->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, slider);
        const int y = slider->height() - 1 - (slider->value() * span) / slider->maximum() - 6;
        QPoint at(slider->width() / 2, y);
        QTest::mousePress(slider, Qt::LeftButton, {}, at);
        for (int step = 0; step < 5; ++step)
            QTest::mouseMove(slider, at += QPoint(0, dy / 5));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
    }

    // "Guardar animación…" chosen in the picture's menu with the keyboard, as a user does.
    void SaveAnimationFromTheMenu() { ChooseFromPictureMenu(*dlg, QString::fromUtf8("Guardar &animación…")); }

private slots:
    void init()
    {
        dlg = new CViewerDlg;
        QVERIFY(ShowActive(*dlg));
    }
    void cleanup()
    {
        delete dlg;
        dlg = nullptr;
    }

    void theGroupShowsASliderPerParameterAndHidesForTheEight()
    {
        ClickSurface(*dlg, kTorus);
        QVERIFY(!Group()->isVisible());
        Show("elipsoide");
        QVERIFY(Group()->isVisible());
        QCOMPARE(Group()->title(), QString::fromUtf8("Parámetros"));
        for (int i = 0; i < 3; ++i)
            QVERIFY(Slider(i)->isVisible());
        QCOMPARE(dlg->findChild<QLabel*>("IDC_PARAM_NAME_2")->text(), QStringLiteral("c"));
        Show("klein8");
        QVERIFY(Slider(0)->isVisible());
        QVERIFY(!Slider(1)->isVisible());
        QCOMPARE(Value()->text(), QStringLiteral("r = 2.5"));
        QVERIFY(Group()->geometry().left() >= 175 + 500);   // beside the square, under the bars
    }

    void everyParameterOfFiveHasASliderThatRedraws()
    {
        QTemporaryDir dir;
        const QString gallery = dir.filePath(QStringLiteral("galeria.toml"));
        QFile file(gallery);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[[surface]]\nid = \"cinco\"\ncaption = \"Cinco\"\n"
                   "x = \"(a + b*cos(v))*cos(u) + k*sin(v)\"\ny = \"(a + b*cos(v))*sin(u)\"\nz = \"c*sin(v) + d*u\"\n"
                   "u = [0, \"2*pi\", 24]\nv = [0, \"2*pi\", 12]\n"
                   "params = { a = [1, 4, 2], b = [0.2, 1, 0.5], c = [0.2, 2, 1], d = [0, 1, 0.1], k = [0, 2, 0] }\n");
        file.close();
        const QByteArray before = qgetenv("VEXILON_GALLERY");
        qputenv("VEXILON_GALLERY", QFile::encodeName(gallery));
        delete dlg;
        dlg = new CViewerDlg;   // a fresh registry reads the gallery above
        qputenv("VEXILON_GALLERY", before);
        QVERIFY(ShowActive(*dlg));
        Show("cinco");
        // The first size keeps the group beside the square, under the bars' label, inside the window.
        QVERIFY(Group()->geometry().left() > kFrameRect.right() && QRect(QPoint(), dlg->size()).contains(Group()->geometry()));
        QVERIFY(Group()->geometry().top() > dlg->findChild<QWidget*>("IDC_SCROLL_ZOOM")->geometry().bottom());
        auto* scroll = dlg->findChild<QScrollArea*>("IDC_PARAM_SCROLL");
        QTRY_VERIFY(scroll->horizontalScrollBar()->isVisible());   // three stand in sight, the rest a scroll away
        for (int i = 0; i < 5; ++i) {
            QVERIFY(Slider(i)->isVisibleTo(Group()));
            QCOMPARE(dlg->findChild<QLabel*>(QStringLiteral("IDC_PARAM_NAME_%1").arg(i))->text(), QString("abcdk"[i]));
        }
        // The fifth out of sight until it takes the focus, which scrolls it in; a drag of it redraws.
        QSlider* fifth = Slider(4);
        const auto inSight = [&] {
            const QRect at(fifth->mapTo(scroll->viewport(), QPoint()), fifth->size());
            return scroll->viewport()->rect().contains(at);
        };
        QVERIFY(!inSight());
        fifth->setFocus();
        QVERIFY(inSight());
        const QImage still = ShownFrame(*dlg);
        DragHandle(fifth, -60);
        QVERIFY(fifth->value() > 300);
        QVERIFY(Value()->text().startsWith(QStringLiteral("k = ")));
        QVERIFY(CountDifferences(ShownFrame(*dlg), still) > 100);
        // A taller window: a second row, all five in sight without scrolling.
        dlg->resize(1100, 900);
        QTRY_COMPARE(Group()->height(), 836 - 288);
        QTRY_VERIFY(!scroll->horizontalScrollBar()->isVisible());
        for (int i = 0; i < 5; ++i)
            QVERIFY(scroll->viewport()->rect().contains(Slider(i)->geometry()));
        QVERIFY(Slider(3)->y() > Slider(0)->y() + Slider(0)->height());   // d and k under a, b, c
    }

    void aDragSamplesTheSurfaceAgainAndKeepsTheView()
    {
        Show("klein8");
        QTest::mousePress(dlg, Qt::LeftButton, {}, QPoint(400, 250));   // a turn of the view first
        QTest::mouseMove(dlg, QPoint(440, 270));
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, QPoint(440, 270));
        const ViewState view = dlg->View();
        const QImage before = ShownFrame(*dlg);
        const int frames = dlg->FramesRendered();
        DragHandle(Slider(0), -60);
        QVERIFY(Slider(0)->value() > 600);
        QVERIFY(dlg->FramesRendered() > frames);
        QCOMPARE(dlg->View().eye.x, view.eye.x);   // the orbit and zoom are kept
        QCOMPARE(dlg->View().eye.z, view.eye.z);
        QCOMPARE(dlg->View().zoom, view.zoom);
        QVERIFY(CountDifferences(ShownFrame(*dlg), before) > 1000);
        QVERIFY(Value()->text().startsWith(QStringLiteral("r = ")));
        QVERIFY(Value()->text().mid(4).toDouble() > 2.8);   // a slider above 60 % of 1.2 to 4
        // Home keeps the value; another surface and back starts again at the file's value.
        ClickSurface(*dlg, kTorus);
        Show("klein8");
        QCOMPARE(Value()->text(), QStringLiteral("r = 2.5"));
    }

    void animateRunsOnlyWhileCheckedAndSavesTheSweep()
    {
        Show("plucker");
        auto* animate = dlg->findChild<QCheckBox*>("IDC_PARAM_ANIMATE");
        auto* timer = dlg->findChild<QTimer*>("IDT_SWEEP");
        QVERIFY(!timer->isActive());
        QTest::mouseClick(animate, Qt::LeftButton);
        QVERIFY(timer->isActive());
        QTemporaryDir dir;
        const QString path = dir.filePath("barrido.gif");
        QVERIFY(dlg->SaveAnimation(path));
        QVERIFY(timer->isActive());   // going on after the save
        QTest::mouseClick(animate, Qt::LeftButton);
        QVERIFY(!timer->isActive());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const DecodedGif gif = DecodeGif(file.readAll().toStdString());
        QVERIFY(gif.ok);
        QCOMPARE(gif.frames.size(), size_t{2 * kSweepSteps});
        QVERIFY(gif.frames[0] != gif.frames[kSweepSteps]);   // n = 1 against n = 6
        QVERIFY(gif.frames[1] == gif.frames[2 * kSweepSteps - 1]);   // up and down the same way
    }

    void saveAnimationAsksForTheTurnOrTheSweep()
    {
        Show("plucker");
        QTest::mouseClick(dlg->findChild<QCheckBox*>("IDC_PARAM_ANIMATE"), Qt::LeftButton);
        QTemporaryDir dir;
        struct Choice {
            const char* button;
            const char* file;
        };
        for (const Choice choice : {Choice{"IDC_ANIMATION_TURN", "giro"}, Choice{"IDC_ANIMATION_SWEEP_n", "barrido"},
                                    Choice{nullptr, "nada"}}) {
            QStringList buttons;
            QString proposed, title;
            ModalCloser closer([&](QWidget& modal) {
                if (auto* question = qobject_cast<QMessageBox*>(&modal)) {
                    title = question->windowTitle();
                    for (QAbstractButton* button : question->buttons())
                        buttons << button->text();
                    proposed = question->defaultButton()->objectName();
                    if (choice.button)
                        QTest::mouseClick(question->findChild<QPushButton*>(choice.button), Qt::LeftButton);
                    else
                        QTest::keyClick(question, Qt::Key_Escape);
                } else if (auto* files = qobject_cast<QFileDialog*>(&modal)) {
                    auto* name = files->findChild<QLineEdit*>("fileNameEdit");
                    name->setText(dir.filePath(choice.file));
                    QTest::keyClick(name, Qt::Key_Return);
                }
            });
            SaveAnimationFromTheMenu();
            QCOMPARE(title, QString::fromUtf8("Guardar animación"));
            buttons.sort();
            QCOMPARE(buttons, QStringList({QStringLiteral("Barrido de n"), QStringLiteral("Cancelar"), QStringLiteral("Giro")}));
            QCOMPARE(proposed, QStringLiteral("IDC_ANIMATION_SWEEP_n"));   // the sweep "Animar" runs
            QCOMPARE(closer.Seen(), choice.button ? 3 : 1);   // the question, the files, the progress; or only the question
        }
        QCOMPARE(DecodeGif(Bytes(dir.filePath("giro.gif")).toStdString()).frames.size(), size_t{kTurnFrames});
        const DecodedGif sweep = DecodeGif(Bytes(dir.filePath("barrido.gif")).toStdString());
        QCOMPARE(sweep.frames.size(), size_t{2 * kSweepSteps});
        QVERIFY(sweep.frames[0] != sweep.frames[kSweepSteps]);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
        QVERIFY(dlg->findChild<QTimer*>("IDT_SWEEP")->isActive());   // "Animar" goes on after the saves

        // With "Animar" off the turn is proposed; a surface without parameters is never asked about.
        QTest::mouseClick(dlg->findChild<QCheckBox*>("IDC_PARAM_ANIMATE"), Qt::LeftButton);
        QString proposed;
        int questions = 0;
        ModalCloser closer([&](QWidget& modal) {
            if (auto* question = qobject_cast<QMessageBox*>(&modal)) {
                ++questions;
                proposed = question->defaultButton()->objectName();
                QTest::keyClick(question, Qt::Key_Escape);
            } else if (auto* files = qobject_cast<QFileDialog*>(&modal)) {
                files->reject();
            }
        });
        SaveAnimationFromTheMenu();
        QCOMPARE(proposed, QStringLiteral("IDC_ANIMATION_TURN"));
        ClickSurface(*dlg, kTorus);
        SaveAnimationFromTheMenu();
        QCOMPARE(questions, 1);
        QCOMPARE(closer.Seen(), 2);
    }

    void aSavedSweepMayShowItsValueAsTheCommandLinesLabel()
    {
        Show("plucker");
        QTemporaryDir dir;
        const QString path = dir.filePath("rotulado.gif");
        ModalCloser closer([&](QWidget& modal) {
            if (auto* question = qobject_cast<QMessageBox*>(&modal)) {
                auto* label = question->findChild<QCheckBox*>("IDC_ANIMATION_LABEL");
                QVERIFY(label && !label->isChecked());   // off: today's frames
                QTest::mouseClick(label, Qt::LeftButton);
                QTest::mouseClick(question->findChild<QPushButton*>("IDC_ANIMATION_SWEEP_n"), Qt::LeftButton);
            } else if (auto* files = qobject_cast<QFileDialog*>(&modal)) {
                auto* name = files->findChild<QLineEdit*>("fileNameEdit");
                name->setText(path);
                QTest::keyClick(name, Qt::Key_Return);
            }
        });
        SaveAnimationFromTheMenu();
        QCOMPARE(closer.Seen(), 3);
        // The way up is what --label draws over the same values, frame for frame.
        const QString up = dir.filePath("arriba.gif");
        QCOMPARE(RenderCli({"-s", "plucker", "--sweep", "n=1:6", "--frames", "101", "--label", "-o", up.toStdString()}), 0);
        const QByteArray saved = Bytes(path), cli = Bytes(up);
        QVERIFY(cli.size() > 1000 && saved.size() > cli.size());
        QVERIFY(saved.startsWith(cli.left(cli.size() - 1)));   // all but the trailer
    }

    void theHelpNamesEveryControlOptionAndFunction()
    {
        const QString help = HelpText();
        QVERIFY(help.contains(QStringLiteral("Ayuda")));
        // Every long option of vexilon-render --help.
        const QString usage = QString::fromStdString(RenderUsage());
        QRegularExpression option(QStringLiteral("^ +(?:-[a-zA-Z], )?(--[a-z][a-z-]*)"), QRegularExpression::MultilineOption);
        int options = 0;
        for (auto match = option.globalMatch(usage); match.hasNext(); ++options) {
            const QString name = match.next().captured(1);
            QVERIFY2(help.contains(QStringLiteral("<code>") + name), qPrintable(name));
        }
        QVERIFY(options >= 30);
        for (const SpanishFunction& names : SpanishFunctions())
            QVERIFY2(help.contains(QString::fromUtf8(names.spanish)), names.spanish);
        // Every button and switch of the window, by the words it shows.
        for (QAbstractButton* button : dlg->findChildren<QAbstractButton*>()) {
            const QString words = button->text().remove(QLatin1Char('&'));
            if (!words.isEmpty() && words != QStringLiteral("Otra:"))
                QVERIFY2(help.contains(words), qPrintable(words));
        }
        QVERIFY(help.contains(QStringLiteral("Otra:")));
    }
};

QTEST_MAIN(ViewerParamsTest)
#include "viewer_params_test.moc"
