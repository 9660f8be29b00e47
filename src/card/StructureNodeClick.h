#pragma once

#include <QString>

class CardStructureWork;
class frmManageSample;

// What choosing a node of the structure tree does on the card: a component with a child sample
// shows that sample, one with only a bill of materials shows a new sample made from it (which Edit
// then adds as the line's child sample), and the
// line the node stands for is written into the head shown (psguid), so that a child saved from
// there is linked to it. While the card is being edited the user is asked first whether to save
// ("是否保存对当前单据的编辑？": yes saves, no cancels the edit, cancel stays).
class StructureNodeClick
{
public:
    StructureNodeClick(frmManageSample &card, CardStructureWork &work)
        : m_card(card)
        , m_work(work)
    {}

    // A node with tag `tag` was chosen (see SampleStructureTree for the tag's fields). False when
    // the card stays as it was.
    bool click(const QString &tag);

private:
    frmManageSample &m_card;
    CardStructureWork &m_work;
};
