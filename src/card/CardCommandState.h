#pragma once

#include <QSet>
#include <QStringList>

class CardControl;
class CommandBarControl;
class TemplateComboControl;
class ToolbarControl;
struct CardState;

// The rule that sets every toolbar button of the card after a command: entering an edit (add,
// edit, copy) leaves only save, cancel and the line buttons; leaving it (save, cancel, "") brings
// the viewing buttons back; in the viewing state the voucher shown decides - whether there is one,
// whether it is confirmed, whether its structure runs in a circle, and which neighbours it has.
// The command bar is synchronised from the toolbar after every rule.
class CardCommandState
{
public:
    struct Controls
    {
        ToolbarControl &toolbar;
        CommandBarControl &commandBar;
        TemplateComboControl &showTemplate;
        TemplateComboControl &printTemplate;
        CardControl &card;
    };

    CardCommandState(CardState &state, Controls controls);

    // The buttons after the command with that key (letter case ignored; "" is leaving an edit).
    // Any key outside the rule changes no button. Leaving an edit also sets the card's EditState
    // back to viewing. bolHasCode is used up by the rule when no voucher is shown.
    void refresh(const QString &key);
    // 1 when the command bar is shown (it then needs a further refresh after a synchronisation).
    void setToolbarStyle(int style) { m_toolbarStyle = style; }
    // Tasks the user holds no right to: their commands stay disabled, with a hint saying why.
    void setRefusedTasks(const QSet<QString> &taskIds);

    // Whether a command's button is shown at all.
    static bool isRemoved(const QString &key);

private:
    // Keeps the commands that cannot run disabled after any rule.
    void holdBackUnusable();
    void enterEditing();
    void leaveEditing();
    void voucherRule();
    void enable(const QStringList &keys, bool enabled);
    void show(const QStringList &keys, bool shown);

    CardState &m_state;
    Controls m_controls;
    int m_toolbarStyle = 1;
    QSet<QString> m_refusedTasks;
};
