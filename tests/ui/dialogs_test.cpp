// The About and Instructions dialogs: captions, texts, layout, and every way to close them.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/about_dlg.h"
#include "version.h"
#include "ui/instructions_dlg.h"

namespace {

const char kInstructions[] =
    "\n1. Superficie:\n"
    "    Se elige la superficie a representar. Cada vez que se presiona se iniciliza la figura.\n"
    "\n2. Botón izquierdo del ratón:\n"
    "    Pulsándolo sobre un punto de la imagen y arrastrando sin soltar la imagen se mueve.\n"
    "\n3. Barra Z\n"
    "    Se amplía o encoge la imagen. Solo cambia el tamaño.\n"
    "\n4. Barra P\n"
    "    Se modifica la perspectiva alejando o acercando el ojo del observador al objeto. Cuanto menor es la "
    "distancia más se distorsiona la imagen.\n";

QString LabelText(QDialog& dlg, const char* name)
{
    auto* label = dlg.findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

// Every text of the dialog is shown whole: wrapped labels tall enough, buttons wide enough.
bool TextsFit(QDialog& dlg)
{
    for (QLabel* label : dlg.findChildren<QLabel*>()) {
        const int height = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        if (height > label->height() || (!label->wordWrap() && label->sizeHint().width() > label->width()))
            return false;
    }
    for (QPushButton* button : dlg.findChildren<QPushButton*>())
        if (button->fontMetrics().horizontalAdvance(button->text()) + 8 > button->width())
            return false;
    return true;
}

}   // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void aboutShowsItsCaptionAndTexts()
    {
        CAboutDlg dlg;
        QCOMPARE(dlg.windowTitle(), QString::fromUtf8("Sobre Vexilon"));
        QCOMPARE(dlg.size(), QSize(378, 125));
        QCOMPARE(LabelText(dlg, "IDC_ABOUT_TITLE"), QString::fromUtf8("Superficies en tres dimensiones"));
        const QStringList lines = LabelText(dlg, "IDC_ABOUT_TEXT").split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("Vexilon ") + QString::fromUtf8(kVexilonVersion));
        QVERIFY(!lines[1].isEmpty() && !lines[2].isEmpty());
        QVERIFY(lines[3].isEmpty());
        QCOMPARE(lines[4], QString::fromUtf8("PROGRAMA GRATUITO - FREE"));
        auto* ok = dlg.findChild<QPushButton*>("IDOK");
        QCOMPARE(ok->text(), QString::fromUtf8("Aceptar"));
        QVERIFY(ok->isDefault());
        QVERIFY(dlg.rect().contains(ok->geometry()));
        QVERIFY(!dlg.findChild<QLabel*>("IDC_ABOUT_ICON")->pixmap().isNull());
        QVERIFY(TextsFit(dlg));
    }

    void instructionsShowTheEightTextsExactly()
    {
        const QString expected = QString::fromUtf8(kInstructions);
        QCOMPARE(InstructionsText(), expected);
        CInstructionsDlg dlg;
        QCOMPARE(dlg.windowTitle(), QString::fromUtf8("INSTRUCCIONES"));
        QCOMPARE(dlg.size(), QSize(495, 267));
        auto* text = dlg.findChild<QLabel*>("IDC_INSTRUCTIONS_TEXT");
        QCOMPARE(text->text(), expected);
        QCOMPARE(text->textFormat(), Qt::PlainText);   // shown as given, nothing interpreted
        auto* close = dlg.findChild<QPushButton*>("IDOK");
        QCOMPARE(close->text(), QString::fromUtf8("Cerrar"));
        QVERIFY(text->geometry().bottom() < close->geometry().top() && dlg.rect().contains(close->geometry()));
        QVERIFY(TextsFit(dlg));
        CInstructionsDlg again;   // a new dialog each time, the same text
        QCOMPARE(LabelText(again, "IDC_INSTRUCTIONS_TEXT"), expected);
    }

    void bothDialogsCloseWithTheirButtonEscAndTheCloseBox_data()
    {
        QTest::addColumn<bool>("about");
        QTest::addColumn<int>("how");
        for (bool about : {true, false}) {
            QTest::newRow(about ? "about, button" : "instructions, button") << about << 0;
            QTest::newRow(about ? "about, Esc" : "instructions, Esc") << about << 1;
            QTest::newRow(about ? "about, close box" : "instructions, close box") << about << 2;
        }
    }
    void bothDialogsCloseWithTheirButtonEscAndTheCloseBox()
    {
        QFETCH(bool, about);
        QFETCH(int, how);
        CAboutDlg aboutDlg;
        CInstructionsDlg instructionsDlg;
        QDialog& dlg = about ? static_cast<QDialog&>(aboutDlg) : instructionsDlg;
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            ran = QApplication::activeModalWidget() == &dlg;
            if (how == 0)
                QTest::mouseClick(dlg.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
            else if (how == 1)
                QTest::keyClick(&dlg, Qt::Key_Escape);
            else
                dlg.close();
        });
        dlg.exec();
        QVERIFY(ran);
        QVERIFY(!dlg.isVisible());
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
