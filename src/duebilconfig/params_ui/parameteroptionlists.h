#pragma once

#include "params/optionlists.h"

#include <QList>
#include <QString>

struct FormContext;
class ComboField;

// The parameter combos of the window: the fixed lists, the detail lists that follow the
// operation type and the boxes, and the recovery modes of the type on screen. The entries
// themselves come from OptionLists; this fills the combos and keeps the rows' values shown.
class ParameterOptionLists
{
public:
    explicit ParameterOptionLists(FormContext &ctx);

    void ImpostaCombo(bool detailsOnly);
    // The recovery modes of the type on screen. keepStored: a causal being shown (or restored
    // by an undo) keeps its stored mode; otherwise the list starts again from its first entry.
    void refreshRecoveryModes(bool keepStored);
    void CBO_TIPOOPERAZIONE_GotFocus();
    void CBO_TIPOOPERAZIONE_LostFocus();
    void CBO_TIPOOPERAZIONE_BeforeChange(const QString &previousText);
    void selectOfferedValues();

private:
    void fill(ComboField *combo, const OptionLists::List &list, bool selectInitial);
    void fillFixedLists();
    void fillDependentLists(const QList<ComboField *> &dependent);

    FormContext &ctx;
};
