// The window's refusals offscreen, through its own dialogs: a vector figure too heavy to write, a
// folder that cannot be written, a user's file or a definition over the limits. Each reaches the
// user in Spanish and leaves nothing written.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include "export/figure_work.h"
#include "surfaces/definitions_file.h"
#include "surfaces/typed_surface.h"
#include "window_test_support.h"

namespace {

// More segments than a vector file may hold with both eyes: kMaxVectorPieces / 2 + 1 of them.
Wireframe DenseWireframe()
{
    Wireframe wire;
    wire.xs = {-0.5, 0.5};
    wire.ys = {-0.5, 0.5};
    wire.zs = {0.0, 0.0};
    wire.ops.assign(kMaxVectorPieces / 2 + 1, WireOp{0, 1});
    return wire;
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}   // namespace

class ViewerRefusalsTest : public QObject {
    Q_OBJECT

    QTemporaryDir data;   // the user's surfaces' folder

    QString OwnFile() const { return QDir(data.path()).filePath(QStringLiteral("Vexilon/superficies.toml")); }

    // Ctrl+S, then the save dialog given path as the name, in the type of that index; the message
    // boxes that follow, in order, as their icon and text.
    static QStringList SaveThroughTheDialog(CViewerDlg& dlg, const QString& path, int typeIndex)
    {
        QStringList boxes;
        ModalCloser closer([&](QWidget& modal) {
            if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
                boxes << QString::number(box->icon()) + QLatin1Char(' ') + box->text();
                box->button(QMessageBox::Ok)->click();
            } else if (auto* files = qobject_cast<QFileDialog*>(&modal)) {
                auto* types = files->findChild<QComboBox*>("fileTypeCombo");
                types->setFocus();
                for (int i = 0; i < typeIndex; ++i)
                    QTest::keyClick(types, Qt::Key_Down);
                auto* name = files->findChild<QLineEdit*>("fileNameEdit");
                name->setText(path);
                QTest::keyClick(name, Qt::Key_Return);
            }
        });
        dlg.activateWindow();   // back from an earlier box: the shortcut is the active window's
        if (!QTest::qWaitForWindowActive(&dlg))
            return {QStringLiteral("the window is not active")};
        QTest::keyClick(&dlg, Qt::Key_S, Qt::ControlModifier);
        return boxes;
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        QCoreApplication::setApplicationName(QStringLiteral("Vexilon"));
        QVERIFY(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).startsWith(data.path()));
    }

    void aVectorFigureTooHeavyIsRefusedInABoxAndNothingIsWritten()
    {
        SurfaceRegistry surfaces;
        const SurfaceKind dense = surfaces.Add("densa", "Densa", DenseWireframe);
        CViewerDlg dlg(surfaces);
        QVERIFY(ShowActive(dlg));
        auto* list = dlg.findChild<QComboBox*>("IDC_SURFACE_LIST");
        list->setCurrentIndex(list->findData(dense));
        QTest::mouseClick(dlg.findChild<QRadioButton*>("IDC_OTHER_SURFACE"), Qt::LeftButton);
        QTRY_COMPARE(dlg.View().surface, dense);
        QTest::mouseClick(dlg.findChild<QCheckBox*>("IDC_VIEW_ANAGLYPH"), Qt::LeftButton);
        QVERIFY(dlg.findChild<QCheckBox*>("IDC_VIEW_ANAGLYPH")->isChecked());

        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("densa.svg"));
        const QStringList boxes = SaveThroughTheDialog(dlg, path, 1);   // SVG
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].startsWith(QString::number(QMessageBox::Critical) + QString::fromUtf8(" No se pudo guardar «") + path +
                                     QString::fromUtf8("»: la imagen es demasiado pesada para un archivo vectorial: 6000002 trozos")),
                 qPrintable(boxes[0]));
        QVERIFY(Entries(out.path()).isEmpty());
        // The same figure as pixels has no such limit.
        QCOMPARE(SaveThroughTheDialog(dlg, out.filePath(QStringLiteral("densa.png")), 0), QStringList());
        QCOMPARE(Entries(out.path()), QStringList(QStringLiteral("densa.png")));
    }

    void aFolderThatCannotBeWrittenIsToldAndKeptEmpty()
    {
        CViewerDlg dlg;
        QVERIFY(ShowActive(dlg));
        ClickSurface(dlg, kTorus);
        QTemporaryDir out;
        QVERIFY(QDir(out.path()).mkdir(QStringLiteral("solo-lectura")));
        QString folder = out.filePath(QStringLiteral("solo-lectura"));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        if (access(QFile::encodeName(folder).constData(), W_OK) == 0)
            folder = QStringLiteral("/sys");   // the superuser writes anywhere else
        const QString path = QDir(folder).filePath(QStringLiteral("toro.png"));
        const QStringList before = Entries(folder);
        const QStringList boxes = SaveThroughTheDialog(dlg, path, 0);
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].startsWith(QString::number(QMessageBox::Critical) + QString::fromUtf8(" No se pudo guardar «") + path + "»: "),
                 qPrintable(boxes[0]));
        QCOMPARE(Entries(folder), before);
        QFile::setPermissions(out.filePath(QStringLiteral("solo-lectura")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void aUsersFileOverTheLimitsIsToldAtStartAndLeftAsItWas()
    {
        QDir().mkpath(QFileInfo(OwnFile()).absolutePath());
        QByteArray lets;
        for (int i = 0; i <= kMaxLets; ++i)
            lets += (lets.isEmpty() ? "" : ", ") + QByteArray("m") + QByteArray::number(i) + " = \"u\"";
        const QByteArray manyLets = "[[surface]]\nid = \"mia\"\ncaption = \"Mia\"\nx = \"u\"\ny = \"v\"\nz = \"u*v\"\n"
                                    "u = [0, 1, 5]\nv = [0, 1, 5]\nlet = { " + lets + " }\n";
        const QByteArray tooLarge = QByteArray("# ") + QByteArray(kMaxDefinitionsFileBytes, 'x') + "\n";
        for (const auto& [text, told] : {std::pair{manyLets, QString::fromUtf8("101 let; se aceptan como mucho 100")},
                                         std::pair{tooLarge, QString::fromUtf8("ocupa más de 16 MB")}}) {
            QFile file(OwnFile());
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size());
            file.close();
            QString shown;
            ModalCloser closer([&](QWidget& modal) {
                if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
                    shown = box->text();
                    box->accept();
                }
            });
            auto dlg = std::make_unique<CViewerDlg>();
            dlg->show();
            QTRY_COMPARE(closer.Seen(), 1);
            QVERIFY2(shown.contains(OwnFile()) && shown.contains(told), qPrintable(shown.left(400)));
            dlg.reset();
            QVERIFY(Bytes(OwnFile()) == text);
        }
        QFile::remove(OwnFile());
    }

    void aDefinitionOverTheLimitsIsToldAtItsFieldAndNotSaved()
    {
        QFile::remove(OwnFile());
        CViewerDlg dlg;
        QVERIFY(ShowActive(dlg));
        QString told;
        bool stayed = false;
        ModalCloser closer([&](QWidget& modal) {
            QStringList lets;
            for (int i = 0; i <= kMaxLets; ++i)
                lets << QStringLiteral("m%1 = u").arg(i);
            auto* field = modal.findChild<QLineEdit*>("IDC_OWN_LETS");
            field->setFocus();
            field->setText(lets.join(QStringLiteral("; ")));
            QTest::keyClick(field, Qt::Key_End);
            QTest::mouseClick(modal.findChild<QPushButton*>("IDC_OWN_SAVE"), Qt::LeftButton);
            told = modal.findChild<QLabel*>("IDC_OWN_PROBLEM")->text();
            QTest::mouseClick(modal.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
            stayed = modal.isVisible();
            QTest::mouseClick(modal.findChild<QPushButton*>("IDCANCEL"), Qt::LeftButton);
        });
        QTest::mouseClick(dlg.findChild<QPushButton*>("IDC_DEFINE_BUTTON"), Qt::LeftButton);
        QCOMPARE(closer.Seen(), 1);
        QVERIFY2(told.contains(QString::fromUtf8("101 let; se aceptan como mucho 100")), qPrintable(told));
        QVERIFY(stayed);
        QVERIFY(!QFile::exists(OwnFile()));
    }
};

QTEST_MAIN(ViewerRefusalsTest)
#include "viewer_refusals_test.moc"
