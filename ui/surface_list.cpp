// The caption of "Otra:" cut to its box, and whole in the tooltips.
#include "ui/surface_list.h"

#include <QStyle>
#include <QStyleOptionComboBox>

CSurfaceList::CSurfaceList(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& caption) { setToolTip(caption); });
    // Each item carries its whole caption for the popup's tooltip.
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        for (int row = first; row <= last; ++row)
            setItemData(row, itemText(row), Qt::ToolTipRole);
    });
}

QString CSurfaceList::ShownCaption() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return option.currentText;
}

void CSurfaceList::initStyleOption(QStyleOptionComboBox* option) const
{
    QComboBox::initStyleOption(option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, option, QStyle::SC_ComboBoxEditField, this);
    option->currentText = fontMetrics().elidedText(option->currentText, Qt::ElideRight, field.width());
}
