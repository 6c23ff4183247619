#include "controls/treeviewcontrol.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTreeWidget>

TreeViewControl::TreeViewControl(QWidget *parent) : QWidget(parent), m_tree(new QTreeWidget(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    setFocusProxy(m_tree);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] { emit DblClick(); });
}

TreeViewControl::~TreeViewControl() = default;

void TreeViewControl::Clear()
{
    m_tree->clear();
    m_nodes.clear();
}

bool TreeViewControl::AddNode(const QString &parentKey, const QString &key, const QString &text)
{
    if (key.isEmpty() || m_nodes.contains(key))
        return false;
    QTreeWidgetItem *item = nullptr;
    if (parentKey.isEmpty()) {
        item = new QTreeWidgetItem(m_tree);
    } else {
        QTreeWidgetItem *parent = m_nodes.value(parentKey);
        if (!parent)
            return false;
        item = new QTreeWidgetItem(parent);
    }
    item->setText(0, text);
    item->setData(0, Qt::UserRole, key);
    m_nodes.insert(key, item);
    return true;
}

int TreeViewControl::nodeCount() const { return int(m_nodes.size()); }

bool TreeViewControl::select(const QString &key)
{
    QTreeWidgetItem *item = m_nodes.value(key);
    if (!item)
        return false;
    m_tree->setCurrentItem(item);
    return true;
}

QString TreeViewControl::selectedKey() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QString TreeViewControl::selectedText() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    return item ? item->text(0) : QString();
}

QString TreeViewControl::selectedParentText() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    return item && item->parent() ? item->parent()->text(0) : QString();
}

bool TreeViewControl::selectedHasChildren() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    return item && item->childCount() > 0;
}

QStringList TreeViewControl::childKeys(const QString &parentKey) const
{
    QStringList keys;
    const QTreeWidgetItem *parent = m_nodes.value(parentKey);
    for (int i = 0; parent && i < parent->childCount(); ++i)
        keys.append(parent->child(i)->data(0, Qt::UserRole).toString());
    return keys;
}

QTreeWidget *TreeViewControl::tree() const { return m_tree; }
