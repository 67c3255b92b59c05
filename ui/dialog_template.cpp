// The shared look of the dialogs.
#include "ui/dialog_template.h"

#include <QDialog>
#include <QFontDatabase>
#include <QString>

namespace {

constexpr int kFontPixels = 9;    // fits every caption in rectangles made for an 8-point font

}   // namespace

QFont DialogFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(kFontPixels);
    return font;
}

void ApplyDialogTemplate(QDialog& dialog, bool mainWindow)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (mainWindow)
        flags |= Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    dialog.setWindowFlags(flags);
    dialog.setFont(DialogFont());
    if (mainWindow)
        dialog.setMinimumSize(dialog.size());   // larger, the square takes the free space
    else
        dialog.setFixedSize(dialog.size());
}

QIcon ApplicationIcon()
{
    Q_INIT_RESOURCE(vexilon);   // a static library's resources are linked only when named
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/vexilon.png").arg(side));
    return icon;
}
