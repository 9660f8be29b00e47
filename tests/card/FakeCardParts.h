#pragma once

#include "card/CardStructureTree.h"
#include "card/TemplateComboControl.h"
#include "host/DataPermission.h"

#include <QMap>
#include <QStringList>

// A template chooser showing a fixed text.
class FakeTemplateCombo final : public TemplateComboControl
{
public:
    QString text() const override { return chosen; }
    void setShown(bool on) override { shown = on; }
    void setEntries(const QStringList &list, int current) override
    {
        entries = list;
        chosen = list.value(current);
    }

    QStringList entries;

    QString chosen = QStringLiteral("180101 样品接单显示模板");
    bool shown = true;
};

// A structure tree that records rebuilds and answers from its settings.
class FakeStructureTree final : public CardStructureTree
{
public:
    void rebuild(const QString &voucherId) override { rebuilt << voucherId; }
    bool hasCycle() const override { return cycle; }
    QString cycleDescription() const override { return description; }
    bool hasSelection() const override { return !tags.isEmpty(); }
    bool selectionHasChildren() const override { return selectedHasChildren; }
    void selectParent() override
    {
        tags.removeLast();
        selectedHasChildren = true;
    }
    QString selectedTag() const override { return tags.value(tags.size() - 1); }

    QStringList rebuilt;
    bool cycle = false;
    QString description;
    // The path to the selected node, root first; the selected node is the last.
    QStringList tags;
    bool selectedHasChildren = true;
};

// A data-permission service answering from tables; anything not given is unrestricted.
class FakeDataPermission final : public DataPermission
{
public:
    void BindLogin(std::shared_ptr<clsLogin> &) override {}
    QString GetFieldCondition(const QString &field) override { return fields.value(field, QStringLiteral("1=1")); }
    // Every template ("DJMB" answers "") and every maker unless told otherwise.
    QString GetKindCondition(const QString &kind) override
    {
        return kinds.value(kind, kind == QLatin1String("DJMB") ? QString() : QStringLiteral("1=1"));
    }

    QMap<QString, QString> fields;
    QMap<QString, QString> kinds;
};
