// The list of "Otra:": a narrow box whose caption is cut with an ellipsis when it does not fit,
// the whole caption in the box's tooltip and each item's.
#pragma once

#include <QComboBox>

class CSurfaceList : public QComboBox {
    Q_OBJECT

public:
    explicit CSurfaceList(QWidget* parent = nullptr);

    QString ShownCaption() const;   // the current caption as the box shows it

protected:
    void initStyleOption(QStyleOptionComboBox* option) const override;
};
