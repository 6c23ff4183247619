#pragma once

#include <QHash>
#include <QObject>
#include <QString>

struct FormContext;
class DataFrame;

// The save of the parameter rows: the codes and rules checked again before it, the other
// companies' rows it leaves short named, the registration row cleaned, and the three frames'
// batch writes.
class ParameterSaving : public QObject
{
    Q_OBJECT

public:
    explicit ParameterSaving(FormContext &ctx);
    ~ParameterSaving() override;

    void connectFrames();

    // The save rules on the screen as the rules left it (FME_CAUSALI_BeforeUpdate): false when
    // the handler is to be left, with *cancel telling whether the save stops.
    bool ControllaSalvataggio(bool *cancel);

    void FME_PARAMETRI_UpdateBatchAll();
    void FME_PARAMETRIDITTA_UpdateBatchAll();
    void FME_PARAMPERSREG_UpdateBatchAll();
    void FME_PARAMPERSREG_BeforeUpdate(bool *fbol_Cancel);

private:
    void batchAll(const QString &procedure, DataFrame *frame);
    void warnOtherCompanies();
    bool causalSettingsAsStored(const QHash<QString, QString> &causalValues) const;

    FormContext &ctx;
};
