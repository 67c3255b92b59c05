// The window's own surfaces offscreen: "Otra:" and its list, the dialog "Superficie propia" with
// an error at its field, the preview in the square, saving, and the user's file read at start.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include "geometry/view_changes.h"
#include "surfaces/definitions_file.h"
#include "ui/own_surface_dlg.h"
#include "ui/surface_list.h"
#include "window_test_support.h"

namespace {

QImage FreshFrame(const SurfaceRegistry& surfaces, SurfaceKind kind)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kind;
    return FrameOf(view, &surfaces);
}

}   // namespace

class OwnSurfaceTest : public QObject {
    Q_OBJECT

    QTemporaryDir data;
    CViewerDlg* dlg = nullptr;

    QString OwnFile() const { return QDir(data.path()).filePath(QStringLiteral("Vexilon/superficies.toml")); }
    QComboBox* List() { return dlg->findChild<QComboBox*>("IDC_SURFACE_LIST"); }
    void Open()
    {
        dlg = new CViewerDlg;
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
    }

private slots:
    void initTestCase()
    {
        // Before anything asks QStandardPaths: the user's file goes into a folder of this test.
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        QCoreApplication::setApplicationName(QStringLiteral("Vexilon"));
        QVERIFY(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).startsWith(data.path()));
    }
    void cleanup()
    {
        delete dlg;
        dlg = nullptr;
    }

    void otherStandsBelowTheEightWithTheGalleryInItsList()
    {
        Open();
        auto* other = dlg->findChild<QRadioButton*>("IDC_OTHER_SURFACE");
        auto* define = dlg->findChild<QPushButton*>("IDC_DEFINE_BUTTON");
        // "Otra" and its list on one row under the eight, "Definir…" under the list.
        const QRect leonardo = dlg->findChild<QWidget*>("IDC_SURFACE_LEONARDO")->geometry();
        QVERIFY(other->geometry().top() > leonardo.bottom() && other->geometry().top() == List()->geometry().top());
        QVERIFY(List()->geometry().left() > other->geometry().right());
        QVERIFY(define->geometry().top() > List()->geometry().bottom() && define->geometry().left() == List()->geometry().left());
        QCOMPARE(define->text(), QString::fromUtf8("Definir…"));
        QVERIFY(other->sizeHint().width() <= other->width());
        QVERIFY(List()->count() >= 24);
        QCOMPARE(List()->itemText(0), QString::fromUtf8("Botella de Klein"));
        QCOMPARE(List()->itemData(0).toInt(), kBuiltinSurfaceCount + 1);
    }

    void choosingFromTheListDrawsThatSurfaceAndTheBarsWorkForIt()
    {
        Open();
        const int index = List()->findText(QString::fromUtf8("Catenoide"));
        QVERIFY(index >= 0);
        List()->setCurrentIndex(index);
        emit List()->activated(index);   // what a pick in the popup sends
        const SurfaceKind kind = List()->itemData(index).toInt();
        QCOMPARE(dlg->View().surface, kind);
        QVERIFY(dlg->findChild<QRadioButton*>("IDC_OTHER_SURFACE")->isChecked());
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FreshFrame(dlg->Surfaces(), kind)), 0);
        auto* zoom = dlg->findChild<QScrollBar*>("IDC_SCROLL_ZOOM");
        QTest::mouseClick(zoom, Qt::LeftButton, {}, PartOf(*zoom, QStyle::SC_ScrollBarSubLine));
        QVERIFY(CountDifferences(ShownFrame(*dlg), FreshFrame(dlg->Surfaces(), kind)) > 0);
        QTest::mouseClick(dlg->findChild<QRadioButton*>("IDC_SURFACE_TORUS"), Qt::LeftButton);
        QVERIFY(!dlg->findChild<QRadioButton*>("IDC_OTHER_SURFACE")->isChecked());
    }

    void typingShowsTheErrorAtItsFieldThenThePreviewThenSavesAndAccepts()
    {
        Open();
        QTest::mouseClick(dlg->findChild<QRadioButton*>("IDC_SURFACE_TORUS"), Qt::LeftButton);
        const QImage torus = ShownFrame(*dlg);
        bool done = false;
        ModalCloser closer([&](QWidget& modal) {
            auto* own = qobject_cast<COwnSurfaceDlg*>(&modal);
            QVERIFY(own);
            QCOMPARE(own->windowTitle(), QString::fromUtf8("Superficie propia"));
            auto* problem = own->findChild<QLabel*>("IDC_OWN_PROBLEM");
            auto* z = own->findChild<QLineEdit*>("IDC_OWN_Z");
            // The starting sphere is previewed in the square.
            QTRY_VERIFY(CountDifferences(ShownFrame(*dlg), torus) > 0);
            QCOMPARE(dlg->View().surface, -1);
            Retype(z, QStringLiteral("sin(v) + w"));
            QTRY_VERIFY(!problem->text().isEmpty());
            QVERIFY2(problem->text().startsWith(QString::fromUtf8("z: nombre o símbolo desconocido «w» en la posición 10")),
                     qPrintable(problem->text()));
            QVERIFY(!z->styleSheet().isEmpty());
            QCOMPARE(z->toolTip(), problem->text());
            const QImage sphere = ShownFrame(*dlg);
            Retype(z, QStringLiteral("2*sin(v)"));   // a taller ellipsoid: the square changes
            QTRY_VERIFY(problem->text().isEmpty() && CountDifferences(ShownFrame(*dlg), sphere) > 0);
            QVERIFY(z->styleSheet().isEmpty());
            Retype(own->findChild<QLineEdit*>("IDC_OWN_CAPTION"), QString::fromUtf8("Huevo alto"));
            QTest::mouseClick(own->findChild<QPushButton*>("IDC_OWN_SAVE"), Qt::LeftButton);
            QCOMPARE(problem->text(), QString::fromUtf8("Guardada entre sus superficies."));
            QTest::mouseClick(own->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
            done = true;
        });
        QTest::mouseClick(dlg->findChild<QPushButton*>("IDC_DEFINE_BUTTON"), Qt::LeftButton);
        QVERIFY(done);
        const DefinitionsRead read = ReadDefinitionsFile(OwnFile().toStdString());
        QVERIFY(read.problems.empty());
        QCOMPARE(read.surfaces.size(), size_t{1});
        QCOMPARE(read.surfaces[0].caption, std::string("Huevo alto"));
        QCOMPARE(read.surfaces[0].id, std::string("huevo-alto"));
        QCOMPARE(read.surfaces[0].xyz[2], std::string("2*sin(v)"));
        // Accepted: the saved surface is chosen in the list and drawn from the registry.
        QCOMPARE(List()->currentText(), QString::fromUtf8("Huevo alto"));
        QCOMPARE(dlg->View().surface, List()->currentData().toInt());
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FreshFrame(dlg->Surfaces(), dlg->View().surface)), 0);
    }

    void cancellingGoesBackToTheSurfaceBefore()
    {
        Open();
        QTest::mouseClick(dlg->findChild<QRadioButton*>("IDC_SURFACE_SINE"), Qt::LeftButton);
        ModalCloser closer([&](QWidget& modal) {
            QTRY_COMPARE(dlg->View().surface, -1);   // the preview
            QTest::mouseClick(modal.findChild<QPushButton*>("IDCANCEL"), Qt::LeftButton);
        });
        QTest::mouseClick(dlg->findChild<QPushButton*>("IDC_DEFINE_BUTTON"), Qt::LeftButton);
        QCOMPARE(closer.Seen(), 1);
        QCOMPARE(dlg->View().surface, kSine);
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FreshFrame(dlg->Surfaces(), kSine)), 0);
    }

    void aSurfaceWithNoFinitePointIsNotAccepted()
    {
        Open();
        bool stayed = false;
        ModalCloser closer([&](QWidget& modal) {
            Retype(modal.findChild<QLineEdit*>("IDC_OWN_Z"), QStringLiteral("sqrt(-1 - u^2)"));
            auto* problem = modal.findChild<QLabel*>("IDC_OWN_PROBLEM");
            QTRY_VERIFY(problem->text().contains(QString::fromUtf8("ninguna muestra es un punto finito")));
            QTest::mouseClick(modal.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
            stayed = modal.isVisible();
            QTest::mouseClick(modal.findChild<QPushButton*>("IDCANCEL"), Qt::LeftButton);
        });
        QTest::mouseClick(dlg->findChild<QPushButton*>("IDC_DEFINE_BUTTON"), Qt::LeftButton);
        QVERIFY(stayed);
        QCOMPARE(dlg->View().surface, kSurfaceNone);
    }

    void theSurfaceAcceptedIsTheOneShownWhateverIsSavedUnderItsName()
    {
        Open();
        auto define = [&](const QString& params, bool save) {
            ModalCloser closer([&](QWidget& modal) {
                auto* z = modal.findChild<QLineEdit*>("IDC_OWN_Z");
                if (z->text() != QStringLiteral("sin(v) + a*cos(u)"))
                    Retype(z, QStringLiteral("sin(v) + a*cos(u)"));
                const QImage before = ShownFrame(*dlg);
                Retype(modal.findChild<QLineEdit*>("IDC_OWN_PARAMS"), params);
                // The preview of these very fields is in the square.
                QTRY_VERIFY(dlg->View().surface == -1 && CountDifferences(ShownFrame(*dlg), before) > 0);
                if (save) {
                    QTest::mouseClick(modal.findChild<QPushButton*>("IDC_OWN_SAVE"), Qt::LeftButton);
                    QCOMPARE(modal.findChild<QLabel*>("IDC_OWN_PROBLEM")->text(),
                             QString::fromUtf8("Guardada entre sus superficies."));
                }
                QTest::mouseClick(modal.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
            });
            QTest::mouseClick(dlg->findChild<QPushButton*>("IDC_DEFINE_BUTTON"), Qt::LeftButton);
            QCOMPARE(closer.Seen(), 1);
        };
        define(QStringLiteral("a=0"), true);
        const SurfaceKind saved = dlg->View().surface;
        const QImage savedFrame = ShownFrame(*dlg);
        QCOMPARE(CountDifferences(savedFrame, FreshFrame(dlg->Surfaces(), saved)), 0);
        define(QStringLiteral("a=1"), false);   // the same name, another surface, not saved
        QVERIFY(CountDifferences(ShownFrame(*dlg), savedFrame) > 0);
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FreshFrame(dlg->Surfaces(), dlg->View().surface)), 0);
        QCOMPARE(List()->currentText(), QString::fromUtf8("Mi superficie"));
        QFile::remove(OwnFile());
    }

    void everySurfaceAcceptedStaysInOtherAndItsWholeCaptionIsShown()
    {
        Open();
        const int gallery = List()->count();
        const QString long_ = QString::fromUtf8("Una superficie de nombre largo, la %1");
        for (int k = 1; k <= 8; ++k) {
            ModalCloser closer([&](QWidget& modal) {
                Retype(modal.findChild<QLineEdit*>("IDC_OWN_CAPTION"), long_.arg(k));
                Retype(modal.findChild<QLineEdit*>("IDC_OWN_Z"), QStringLiteral("%1*sin(v)").arg(k));
                QTRY_COMPARE(dlg->View().surface, -1);
                QTest::mouseClick(modal.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
            });
            QTest::mouseClick(dlg->findChild<QPushButton*>("IDC_DEFINE_BUTTON"), Qt::LeftButton);
            QCOMPARE(closer.Seen(), 1);
            QCOMPARE(List()->currentText(), long_.arg(k));
        }
        QCOMPARE(List()->count(), gallery + 8);
        for (int k = 1; k <= 8; ++k) {
            const int index = List()->findText(long_.arg(k));
            QVERIFY2(index >= gallery, qPrintable(long_.arg(k)));
            QCOMPARE(List()->itemData(index, Qt::ToolTipRole).toString(), long_.arg(k));
        }
        // Too long for the box: cut with an ellipsis, and whole in its tooltip.
        QCOMPARE(List()->toolTip(), long_.arg(8));
        const QString shown = dlg->findChild<CSurfaceList*>("IDC_SURFACE_LIST")->ShownCaption();
        QVERIFY2(shown.endsWith(QChar(0x2026)) && long_.arg(8).startsWith(shown.chopped(1)), qPrintable(shown));
        List()->setCurrentIndex(0);
        QCOMPARE(List()->toolTip(), List()->itemText(0));
    }

    void theUsersFileIsReadAtStartAndABrokenEntryIsReportedWithoutLosingTheOthers()
    {
        QDir().mkpath(QFileInfo(OwnFile()).absolutePath());
        QFile file(OwnFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[[surface]]\nid = \"mia\"\ncaption = \"Mi plano\"\nx = \"u\"\ny = \"v\"\nz = \"u*v\"\n"
                   "u = [0, 1, 5]\nv = [0, 1, 5]\n\n"
                   "[[surface]]\nid = \"rota\"\ncaption = \"Rota\"\nx = \"u\"\ny = \"v\"\nz = \"u*\"\n"
                   "u = [0, 1, 5]\nv = [0, 1, 5]\n");
        file.close();
        QString shown;
        ModalCloser closer([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            QVERIFY(box);
            shown = box->text();
            box->accept();
        });
        Open();
        QTRY_COMPARE(closer.Seen(), 1);
        QVERIFY2(shown.contains(OwnFile() + QString::fromUtf8(", línea 15: superficie «rota»: z:")), qPrintable(shown));
        QVERIFY(List()->findText(QString::fromUtf8("Mi plano")) >= 0);
        QCOMPARE(List()->findText(QString::fromUtf8("Rota")), -1);
        QFile::remove(OwnFile());
    }

    // The message shown at start when the user's file is what make() leaves.
    void MessageAtStart(const std::function<void()>& make, QString& shown)
    {
        QFile::remove(OwnFile());
        QDir().mkpath(QFileInfo(OwnFile()).absolutePath());
        make();
        shown.clear();
        ModalCloser closer([&](QWidget& modal) {
            if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
                shown = box->text();
                // Bounded whatever the file holds: "Aceptar" stays on the screen.
                if (box->sizeHint().height() > 600)
                    shown = QStringLiteral("too tall");
                box->accept();
            }
        });
        Open();
        QTRY_COMPARE(closer.Seen(), 1);
        delete dlg;
        dlg = nullptr;
        QFile::remove(OwnFile());
    }

    // What the file's reading tells is tested with the session; the window shows it in one box.
    void aHostileUsersFileIsReportedInOneBoundedSpanishMessageAndTheWindowShows()
    {
        const QString own = OwnFile();
        QString shown;
        MessageAtStart([&] { QFile::link(QStringLiteral("/dev/zero"), own); }, shown);
        QVERIFY2(shown.contains(own + QString::fromUtf8(": es un dispositivo, no un archivo de definiciones")), qPrintable(shown));

        // Ten thousand bad entries: the first few, then how many more.
        QByteArray many;
        for (int i = 0; i < 10000; ++i)
            many += "[[surface]]\nid = \"r" + QByteArray::number(i) + "\"\ncaption = \"R\"\n";
        MessageAtStart([&] {
            QFile file(own);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(many);
        }, shown);
        QVERIFY2(shown.contains(QString::fromUtf8("y 996 más")), qPrintable(shown));
        QVERIFY2(shown.count(QLatin1Char('\n')) <= 10, qPrintable(shown));
    }
};

QTEST_MAIN(OwnSurfaceTest)
#include "own_surface_test.moc"
