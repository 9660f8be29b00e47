#pragma once

class frmManageSample;

// The card commands that work on the whole sample structure: the cost fetch and the conversion to
// a bill of materials. They run after the dispatch has entered their task and read and reload the
// card through the window they are given.
class CardStructureCommands
{
public:
    virtual ~CardStructureCommands() = default;
    virtual void fetchCosts(frmManageSample &card) = 0;
    virtual void convertToBom(frmManageSample &card) = 0;
};
