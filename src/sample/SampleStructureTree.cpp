#include "SampleStructureTree.h"

#include "platform/Connection.h"

namespace {

QString idText(int id)
{
    return id > 0 ? QString::number(id) : QString();
}

} // namespace

QString SampleStructureTree::nodeText(const QString &code, const QString &name, const QStringList &freeItems)
{
    QString text = QLatin1Char('(') + code + QLatin1Char(')') + name;
    for (int k = 0; k < 10; ++k)
        text += QLatin1Char(';') + freeItems.value(k);
    return text;
}

QString SampleStructureTree::nodeTag(const QString &code, const QString &version, int childSample, int bomId, int subId)
{
    return QLatin1Char('r') + code + QLatin1Char('\t') + version + QLatin1Char('\t') + idText(childSample)
           + QLatin1Char(' ') + QLatin1Char('\t') + idText(bomId) + QLatin1Char(' ') + QLatin1Char('\t')
           + QLatin1Char(' ') + idText(subId);
}

int SampleStructureTree::addNode(int parent, const QString &key, const QString &text, const QString &tag)
{
    const int index = int(m_nodes.size());
    m_nodes.append({key, text, tag, parent, {}});
    if (parent >= 0)
        m_nodes[parent].children.append(index);
    return index;
}

Result<void> SampleStructureTree::build(const QString &voucherId)
{
    m_nodes.clear();
    m_path.clear();
    m_cycle = false;
    m_truncated = false;
    m_cycleText.clear();
    m_queries = 0;
    addNode(-1, QStringLiteral("rr"), QStringLiteral("样品BOM信息"), QStringLiteral("r"));

    bool isNumber = false;
    const int id = voucherId.trimmed().toInt(&isNumber);
    if (!isNumber || id <= 0)
        return {};
    SampleStructure structure(m_cnn);
    const SampleStructure::Ref top{SampleStructure::Kind::Sample, id};
    auto loaded = structure.load(top);
    m_queries = structure.queryCount();
    if (!loaded)
        return loaded;
    const SampleStructure::Node &head = structure.node(top);
    if (!head.found)
        return {};

    const QString key = m_nodes[0].key + QLatin1Char('r') + head.code + QString::number(id);
    const int topNode
        = addNode(0, key, nodeText(head.code, head.name, head.freeItems), nodeTag(head.code, head.version, id, 0, 0));
    m_path.insert(head.code);
    expand(topNode, structure, top);
    m_path.remove(head.code);
    return {};
}

// The lines of one structure below node `parent`, each followed into its own structure unless its
// code is already on the path (a loop) or the tree is full.
void SampleStructureTree::expand(int parent, const SampleStructure &structure, SampleStructure::Ref ref)
{
    for (const SampleStructure::Line &line : structure.node(ref).lines) {
        if (!line.inItemMaster)
            continue;
        if (m_nodes.size() >= MaxNodes) {
            m_truncated = true;
            return;
        }
        const SampleStructure::Ref child = line.child();
        const QString key = m_nodes[parent].key + QLatin1Char('r') + line.code + idText(child.id);
        const int node = addNode(parent, key, nodeText(line.code, line.name, line.freeItems),
                                 nodeTag(line.code, line.version, line.childSample, line.bomId, line.subId));
        if (m_path.contains(line.code)) {
            m_cycle = true;
            m_cycleText += QStringLiteral("\r\n子件[") + line.code + QStringLiteral("]循环出现，请检查！");
            continue;
        }
        if (child.isNull())
            continue;
        m_path.insert(line.code);
        expand(node, structure, child);
        m_path.remove(line.code);
    }
}
