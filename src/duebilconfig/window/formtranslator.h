#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

// Captions and messages by text id: Traduci_IdTesto, and the captions of the selection checks
// and of the grid fields by their catalogue ids. None of them fails: a text the store lacks
// shows its id, a catalogue id without a caption gives the empty text.
class FormTranslator
{
public:
    // The host's text service: the text of an id with its parameters; *ok false when missing.
    using TextService = std::function<QString(int id, const QStringList &params, bool *ok)>;

    explicit FormTranslator(TextService service = {});
    void setTextService(TextService service);

    QString Traduci_IdTesto(int idTesto, const QVariantList &params = {}) const;
    QString Traduci_CGP2_DESCRIZIONE(const QVariant &cgp2Id) const;
    QString Traduci_CGP1_DESCRIZIONE(const QVariant &cgp1Id) const;

    // Text id of a catalogue entry, 0 when it has none.
    static int checkTextId(const QVariant &cgp2Id);
    static int fieldTextId(const QVariant &cgp1Id);

private:
    TextService m_service;
};
