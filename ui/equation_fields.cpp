// The fields of an equation surface; what they mean is read by the session (equation_text.*).
#include "ui/equation_fields.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace {

QLineEdit* Line(QWidget* parent, const char* name, const std::string& text, const char* placeholder)
{
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setPlaceholderText(QString::fromUtf8(placeholder));
    return field;
}

QSpinBox* Count(QWidget* parent, const char* name, int low, int high, const std::string& value)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(low, high);
    spin->setValue(QString::fromStdString(value).toInt());
    return spin;
}

}   // namespace

CEquationFields::CEquationFields(const SurfaceDefinition& start, QWidget* parent) : QWidget(parent)
{
    const EquationText text = EquationTextOf(start);
    m_equation = Line(this, "IDC_OWN_EQUATION", text.equation, "F = G en x, y, z, por ejemplo x^2 + y^2 - z^2 = a");
    m_equation->setMinimumWidth(320);
    m_box = Line(this, "IDC_OWN_BOX", text.box, "XMÍN, XMÁX, YMÍN, YMÁX, ZMÍN, ZMÁX");
    m_families = Line(this, "IDC_OWN_PLANE_FAMILIES", text.families, "x, y, z o varias: xyz, z…");
    m_planes = Count(this, "IDC_OWN_PLANES", 1, kMaxPlanes, text.planes);
    m_grid = Count(this, "IDC_OWN_GRID", 2, kMaxGrid, text.grid);
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QString::fromUtf8("E&cuación:"), m_equation);
    form->addRow(QString::fromUtf8("Ca&ja:"), m_box);
    form->addRow(QString::fromUtf8("Cortes p&or planos:"), m_families);
    form->addRow(QString::fromUtf8("Planos por famili&a:"), m_planes);
    form->addRow(QString::fromUtf8("Rej&illa (celdas por lado):"), m_grid);
    for (QLineEdit* field : {m_equation, m_box, m_families})
        connect(field, &QLineEdit::textEdited, this, &CEquationFields::edited);
    for (QSpinBox* spin : {m_planes, m_grid})
        connect(spin, &QSpinBox::valueChanged, this, &CEquationFields::edited);
}

EquationText CEquationFields::Text() const
{
    return {m_equation->text().toStdString(), m_box->text().toStdString(), m_families->text().toStdString(),
            std::to_string(m_grid->value()), std::to_string(m_planes->value())};
}

QWidget* CEquationFields::FieldOf(DefinitionField field) const
{
    switch (field) {
    case DefinitionField::Equation: return m_equation;
    case DefinitionField::Box: return m_box;
    case DefinitionField::Families: return m_families;
    case DefinitionField::Planes: return m_planes;
    case DefinitionField::Grid: return m_grid;
    default: return nullptr;
    }
}
