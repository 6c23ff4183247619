#pragma once

#include <QLabel>

#include <memory>
#include <optional>

// Label of the maker's kind: a caption, or with a border a read-out of a decoded description.
// labelstyle 1 draws an information line, 2 a multi-line note.
class LabelControl : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(bool border READ hasBorder WRITE setBorder)
    Q_PROPERTY(int labelstyle READ labelStyle WRITE setLabelStyle)

public:
    explicit LabelControl(QWidget *parent = nullptr);
    ~LabelControl() override;

    bool hasBorder() const;
    void setBorder(bool border);
    int labelStyle() const;
    void setLabelStyle(int style);

    // The caption without its access-key mark.
    QString caption() const;
    void setCaption(const QString &caption);

    // The letters taken by the labels on screen together (and by whatever else reacts to
    // Alt+letter there). A letter may appear more than once when something outside the group
    // claims it later.
    using KeyGroup = std::shared_ptr<QString>;
    // Alt+key moves to the buddy. The key is a letter of the caption that no other label of the
    // group has, word initials first; it is chosen again when the caption changes and no longer
    // holds it, or when the group learns that someone else uses it.
    // A preferred key is taken when the caption holds it and the group does not have it yet.
    void setAccessKeyGroup(const KeyGroup &group, QChar preferred = {});
    void chooseAccessKey();
    QChar accessKey() const;

    // Keys for labels that share a group: one letter of each caption, none of them taken, as
    // many labels keyed as the letters allow; word initials preferred. Choosing label by label
    // can leave a later label without a key when the earlier ones took all its letters though
    // they had others free. A label without a free letter gets a null QChar.
    static QList<QChar> matchAccessKeys(const QStringList &captions, const QString &taken);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    void showCaption();
    // A caption of one plain, unwrapped text measured once for both hints, where QLabel measures
    // it three times; empty for any other label, which QLabel measures itself.
    std::optional<QSize> plainTextHint() const;

    struct Measured
    {
        QString text;
        QFont font;
        Qt::Alignment alignment;
        int indent = 0;
        int margin = 0;
        int frameWidth = 0;
        QMargins contents;
        QSize minimum;
        bool mnemonic = false;
        const QStyle *style = nullptr;
        QSize size;
        bool operator==(const Measured &other) const;
    };
    mutable std::optional<Measured> m_measured;

    QString m_caption;
    KeyGroup m_group;
    QChar m_key;
    int m_style = 0;
};
