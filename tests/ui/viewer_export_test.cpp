// Export from the window offscreen: the saved PNG and SVG are the command line's bytes for the same
// view, a failure names the file and the reason, the clipboard gets the frame, and the context menu
// and the save dialog speak Spanish.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include "app/render_cli.h"
#include "cli_run_support.h"
#include "ui/viewer_app.h"
#include "window_test_support.h"

namespace {

bool SameBits(Vec3 a, Vec3 b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct MenuItem {
    QString text, shortcut;
    bool enabled;
};

// The items of the context menu that the right button opens at point, the menu then closed.
std::vector<MenuItem> ContextMenuAt(CViewerDlg& dlg, QPoint point)
{
    std::vector<MenuItem> items;
    WithPictureMenu(dlg, point, [&](QMenu& menu) {
        for (QAction* action : menu.actions())
            items.push_back({action->text(), action->shortcut().toString(), action->isEnabled()});
        menu.close();
    });
    return items;
}

}   // namespace

class ViewerExportTest : public QObject {
    Q_OBJECT

    CViewerDlg* dlg = nullptr;
    std::unique_ptr<QTemporaryDir> dir;   // a new one for each test

    QString PathOf(const char* name) { return dir->filePath(QString::fromUtf8(name)); }
    std::string CliPath(const char* name) { return QFile::encodeName(PathOf(name)).toStdString(); }

    // The sine surface, a drag step of (-46, 5) with real mouse events, then the "Z" bar's upper
    // arrow. A frame drawn again after one more camera update differs from this view's SVG.
    void MakeTheView()
    {
        ClickSurface(*dlg, kSine);
        QTest::mousePress(dlg, Qt::LeftButton, {}, QPoint(300, 400));
        QTest::mouseMove(dlg, QPoint(254, 405));
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, QPoint(254, 405));
        dlg->findChild<QScrollBar*>("IDC_SCROLL_ZOOM")->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(dlg->View().zoom, 51.0);
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        dlg = new CViewerDlg;
        QVERIFY(ShowActive(*dlg));
    }
    void cleanup() { delete dlg; }

    void savedFilesAreTheCommandLinesBytesForTheSameView()
    {
        MakeTheView();
        const ViewState before = dlg->View();
        QVERIFY(dlg->SaveFrame(PathOf("window.png")));
        QVERIFY(dlg->SaveFrame(PathOf("window.SVG")));   // the type from the name, in any case
        QCOMPARE(RenderCli({"-s", "seno", "--orbit", "-46,5", "--zoom", "51", "-o", CliPath("cli.png")}), 0);
        QCOMPARE(RenderCli({"-s", "seno", "--orbit", "-46,5", "--zoom", "51", "-o", CliPath("cli.svg")}), 0);
        QCOMPARE(Bytes(PathOf("window.png")), Bytes(PathOf("cli.png")));
        QCOMPARE(Bytes(PathOf("window.SVG")), Bytes(PathOf("cli.svg")));
        QVERIFY(Bytes(PathOf("cli.svg")).startsWith("<"));
        // Saving draws nothing in the window and leaves its camera as the shown frame left it.
        QVERIFY(SameBits(dlg->View().eye, before.eye) && SameBits(dlg->View().up, before.up));
        QVERIFY(SameBits(dlg->View().right, before.right));
        QCOMPARE(dlg->FramesRendered(), 3);
    }

    void aFailedSaveNamesTheFileAndTheReasonAndLeavesNothing()
    {
        ClickSurface(*dlg, kSphere);
        QStringList texts;
        ModalCloser closer([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            QVERIFY(box != nullptr);
            texts << box->text();
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->button(QMessageBox::Ok)->click();
        });
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("sub")));
        QVERIFY(!dlg->SaveFrame(PathOf("missing/esfera.png")));
        QVERIFY(!dlg->SaveFrame(PathOf("sub")));   // a folder is never replaced
        QCOMPARE(texts, QStringList({QString::fromUtf8("No se pudo guardar «%1»: No such file or directory")
                                         .arg(PathOf("missing/esfera.png")),
                                     QString::fromUtf8("No se pudo guardar «%1»: Is a directory").arg(PathOf("sub"))}));
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList(QStringLiteral("sub")));
    }

    void savingOverALinkToAPrivateFileKeepsTheLinkAndTheMode()
    {
        ClickSurface(*dlg, kSphere);
        QFile real(PathOf("real.png"));
        QVERIFY(real.open(QIODevice::WriteOnly) && real.write("old") == 3);
        real.close();
        QVERIFY(real.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(QFile::link(QStringLiteral("real.png"), PathOf("link.png")));
        QVERIFY(dlg->SaveFrame(PathOf("link.png")));
        QVERIFY(QFileInfo(PathOf("link.png")).isSymLink());
        QVERIFY(Bytes(PathOf("real.png")).startsWith("\x89PNG"));
        const QFile::Permissions modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                            QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                                            QFile::ExeOther;
        QCOMPARE(QFile::permissions(PathOf("real.png")) & modeBits, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({QStringLiteral("link.png"), QStringLiteral("real.png")}));
    }

    void copyPutsTheShownFrameOnTheClipboardOnceThereIsOne()
    {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("antes"));
        QTest::keyClick(dlg, Qt::Key_C, Qt::ControlModifier);   // nothing to copy yet
        QCOMPARE(clipboard->text(), QStringLiteral("antes"));
        MakeTheView();
        QTest::keyClick(dlg, Qt::Key_C, Qt::ControlModifier);
        const QImage copied = clipboard->image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(copied.size(), QSize(kCanvasSide, kCanvasSide));
        QCOMPARE(CountDifferences(copied, ShownFrame(*dlg)), 0);
        QVERIFY(CountPixels(copied, [](QRgb c) { return c == qRgb(0, 0, 255); }) > 500);
    }

    void theContextMenuOffersSaveAndCopyOnceThereIsAFrame()
    {
        const std::vector<MenuItem> empty = ContextMenuAt(*dlg, {400, 200});
        QCOMPARE(empty.size(), size_t{10});
        QCOMPARE(empty[0].text, QString::fromUtf8("&Guardar imagen…"));
        QCOMPARE(empty[0].shortcut, QStringLiteral("Ctrl+S"));
        QCOMPARE(empty[1].text, QString::fromUtf8("&Copiar imagen"));
        QCOMPARE(empty[1].shortcut, QStringLiteral("Ctrl+C"));
        QCOMPARE(empty[2].text, QString::fromUtf8("Guardar &animación…"));
        QCOMPARE(empty[3].text, QString::fromUtf8("Copiar en&lace"));
        QCOMPARE(empty[4].text, QString::fromUtf8("Abrir e&nlace…"));
        QCOMPARE(empty[5].text, QString::fromUtf8("&Intercambiar ojos"));   // for the anaglyph only
        QCOMPARE(empty[5].shortcut, QStringLiteral("I"));
        QCOMPARE(empty[6].text, QString::fromUtf8("Girar sobre el eje &z"));
        QCOMPARE(empty[7].text, QString::fromUtf8("C&orte"));   // its submenu: Ninguno, Plano x/y/z = c
        QVERIFY(empty[8].text.isEmpty());   // the separator
        QCOMPARE(empty[9].text, QString::fromUtf8("&Acerca de vexilon..."));
        QVERIFY(!empty[0].enabled && !empty[1].enabled && !empty[2].enabled && !empty[3].enabled && empty[4].enabled &&
                !empty[5].enabled && empty[6].enabled && empty[7].enabled && empty[9].enabled);
        ClickSurface(*dlg, kSine);
        const std::vector<MenuItem> shown = ContextMenuAt(*dlg, {400, 200});
        QVERIFY(shown.size() == 10 && shown[0].enabled && shown[1].enabled && shown[2].enabled && shown[3].enabled &&
                shown[4].enabled && !shown[5].enabled);
    }

    void theSaveDialogProposesTheSurfaceAndAddsTheChosenType()
    {
        MakeTheView();
        QString proposed, accept;
        QStringList filters;
        bool native = true;
        ModalCloser closer([&](QWidget& modal) {
            auto* files = qobject_cast<QFileDialog*>(&modal);
            QVERIFY(files != nullptr);
            native = !files->testOption(QFileDialog::DontUseNativeDialog);
            proposed = files->findChild<QLineEdit*>("fileNameEdit")->text();
            filters = files->nameFilters();
            accept = files->labelText(QFileDialog::Accept);
            auto* types = files->findChild<QComboBox*>("fileTypeCombo");
            types->setFocus();
            QTest::keyClick(types, Qt::Key_Down);   // as the user picks SVG: the proposal follows
            proposed += QLatin1Char(' ') + files->findChild<QLineEdit*>("fileNameEdit")->text();
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            name->setText(PathOf("vista"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::keyClick(dlg, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(closer.Seen(), 1);
        QVERIFY(!native);
        QCOMPARE(proposed, QStringLiteral("seno.png seno.svg"));
        QCOMPARE(filters, QStringList({QStringLiteral("Imagen PNG (*.png)"), QStringLiteral("Imagen SVG (*.svg)"),
                                       QStringLiteral("Documento PDF (*.pdf)"),
                                       QStringLiteral("PostScript encapsulado (*.eps)"),
                                       QStringLiteral("Figura TikZ para LaTeX (*.tikz)")}));
        QCOMPARE(accept, QStringLiteral("&Guardar"));   // Qt's own text, in Spanish
        QCOMPARE(RenderCli({"-s", "seno", "--orbit", "-46,5", "--zoom", "51", "-o", CliPath("cli.svg")}), 0);
        QCOMPARE(Bytes(PathOf("vista.svg")), Bytes(PathOf("cli.svg")));
    }

    void theSaveDialogTakesASizeAndTheDocumentTypes()
    {
        MakeTheView();
        QString proposed;
        ModalCloser closer([&](QWidget& modal) {
            auto* files = qobject_cast<QFileDialog*>(&modal);
            QVERIFY(files != nullptr);
            auto* size = files->findChild<QSpinBox*>("IDC_SAVE_SIZE");
            QVERIFY(size != nullptr);
            QCOMPARE(size->value(), 500);
            size->setFocus();
            QTest::keyClick(size, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(size, QStringLiteral("1000"));
            auto* types = files->findChild<QComboBox*>("fileTypeCombo");
            types->setFocus();
            QTest::keyClick(types, Qt::Key_Down);
            QTest::keyClick(types, Qt::Key_Down);   // the PDF: the proposal follows
            proposed = files->findChild<QLineEdit*>("fileNameEdit")->text();
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            name->setText(PathOf("grande"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::keyClick(dlg, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(closer.Seen(), 1);
        QCOMPARE(proposed, QStringLiteral("seno.pdf"));
        QVERIFY(Bytes(PathOf("grande.pdf")).startsWith("%PDF-"));
        // The size chosen is kept for the next save, and a PNG of it is the command line's.
        QVERIFY(dlg->SaveFrame(PathOf("grande.png"), 1000));
        QCOMPARE(RenderCli({"-s", "seno", "--orbit", "-46,5", "--zoom", "51", "--size", "1000", "-o", CliPath("cli.png")}), 0);
        QCOMPARE(Bytes(PathOf("grande.png")), Bytes(PathOf("cli.png")));
    }
};

// The window's own start-up makes Qt Spanish before any dialog exists.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTranslator qtTranslator;
    if (!InstallSpanish(app, qtTranslator))
        qWarning("Qt's Spanish translations are not installed (qt6-translations-l10n)");
    ViewerExportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "viewer_export_test.moc"
