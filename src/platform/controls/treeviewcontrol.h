#pragma once

#include <QHash>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

// A two-level tree of keyed nodes (headings and their fields).
class TreeViewControl : public QWidget
{
    Q_OBJECT

public:
    explicit TreeViewControl(QWidget *parent = nullptr);
    ~TreeViewControl() override;

    void Clear();
    // An empty parent key adds a root node; false when the parent or the key is unknown/taken.
    bool AddNode(const QString &parentKey, const QString &key, const QString &text);
    int nodeCount() const;

    bool select(const QString &key);
    QString selectedKey() const;          // empty when nothing is selected
    QString selectedText() const;
    QString selectedParentText() const;
    bool selectedHasChildren() const;
    QStringList childKeys(const QString &parentKey) const;

    QTreeWidget *tree() const;

signals:
    void DblClick();

private:
    QTreeWidget *m_tree;
    QHash<QString, QTreeWidgetItem *> m_nodes;
};
