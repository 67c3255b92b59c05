// "Ecuación" in the dialog "Superficie propia": the equation, its box, the families of planes, the
// planes of each and the grid, as the page and a definitions file have them.
#pragma once

#include <QWidget>

#include "session/equation_text.h"

class QLineEdit;
class QSpinBox;

class CEquationFields : public QWidget {
    Q_OBJECT

public:
    CEquationFields(const SurfaceDefinition& start, QWidget* parent);

    EquationText Text() const;
    QWidget* FieldOf(DefinitionField field) const;   // null for a field that is not here

signals:
    void edited();

private:
    QLineEdit* m_equation = nullptr;
    QLineEdit* m_box = nullptr;
    QLineEdit* m_families = nullptr;
    QSpinBox*  m_planes = nullptr;
    QSpinBox*  m_grid = nullptr;
};
