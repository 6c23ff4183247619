#pragma once

#include <QString>
#include <QVariant>

struct FormContext;
class ParameterOptionLists;

// The enabling rules of the operation type on the parameter frames: what the type enables,
// locks, shows and corrects, the detail combos' own narrowing, and the corrections held on
// screen until the save, named in the status bar.
class ParameterEnabling
{
public:
    ParameterEnabling(FormContext &ctx, ParameterOptionLists &lists);

    void AttivaEditControlli();
    bool isRunning() const { return m_rulesRunning; }
    // The screen is the causal's the rules last ran for and no frame is being shown: a change of
    // a box or list there is the user's (or a rule's), not a row being shown.
    bool followsScreen() const;

    void CBO_DETTREG_ChangeRow();
    void CBO_DETTRIGACONT_ChangeRow();
    void CBO_MODIMPSCAD_ChangeRow(int position);
    void CHK_GESTVALUTE_Click();

private:
    bool framesRefreshing() const;
    void applyDetailRules();
    QString dependentListInputs() const;
    QString detailsShown() const;
    void showHeldCorrections();
    void forceColumn(const QString &column, const QVariant &value);

    FormContext &ctx;
    ParameterOptionLists &lists;
    bool m_rulesRunning = false;
    bool m_enablingOnly = false;
    QString m_detailsAtStart;  // the details on screen when the rules began their pass
    bool m_statusShown = false;
    QString m_heldCorrections;
    QString m_rulesCausal;     // causal on display when the rules last ran
};
