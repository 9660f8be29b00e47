#include "CardCommandState.h"

#include "CardCommands.h"
#include "CardControl.h"
#include "CardState.h"
#include "TemplateComboControl.h"

#include "host/CommandBarControl.h"
#include "host/ToolbarControl.h"

namespace {

// The two ends of the move buttons.
const QStringList kBackward{QStringLiteral("tlbFrist"), QStringLiteral("tlbPrevious")};
const QStringList kForward{QStringLiteral("tlbNext"), QStringLiteral("tlbLast")};
const QStringList kLineButtons{QStringLiteral("tlbAddLine"), QStringLiteral("tlbDelLine")};

// Commands without a button: the settings have no dialog of their own.
constexpr const char *kRemoved[] = {"tlbSetting"};

bool isOneOf(const QString &key, std::initializer_list<const char *> keys)
{
    for (const char *k : keys) {
        if (key.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

CardCommandState::CardCommandState(CardState &state, Controls controls)
    : m_state(state)
    , m_controls(controls)
{}

void CardCommandState::refresh(const QString &key)
{
    if (isOneOf(key, {"tlbAdd", "tlbEdit", "tlbCopy"}))
        enterEditing();
    else if (key.isEmpty() || isOneOf(key, {"tlbSave", "tlbCancel"}))
        leaveEditing();
    else if (isOneOf(key, {"tlbVerify", "tlbDisVerify", "tlbFrist", "tlbPrevious", "tlbNext", "tlbLast", "tlbRefresh",
                           "tlbDel"}))
        voucherRule();

    holdBackUnusable();
    m_controls.commandBar.SynchronizeToolbar();
    if (m_toolbarStyle == 1)
        m_controls.commandBar.RefreshBar();
}

void CardCommandState::setRefusedTasks(const QSet<QString> &taskIds)
{
    m_refusedTasks = taskIds;
}

bool CardCommandState::isRemoved(const QString &key)
{
    for (const char *k : kRemoved) {
        if (key.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void CardCommandState::holdBackUnusable()
{
    for (const CardCommand &command : CardCommands::toolbar()) {
        if (command.separator)
            continue;
        if (isRemoved(command.key)) {
            m_controls.toolbar.setButtonEnabled(command.key, false);
            m_controls.toolbar.setButtonVisible(command.key, false);
            continue;
        }
        if (!m_refusedTasks.contains(command.taskId))
            continue;
        m_controls.toolbar.setButtonEnabled(command.key, false);
        m_controls.toolbar.setButtonToolTip(command.key, command.caption + QStringLiteral("：您没有这个权限！"));
    }
}

void CardCommandState::enterEditing()
{
    enable({QStringLiteral("tlbPrint"), QStringLiteral("tlbPreview"), QStringLiteral("tlbSend"),
            QStringLiteral("tlbAdd"), QStringLiteral("tlbEdit"), QStringLiteral("tlbCopy"), QStringLiteral("tlbDel"),
            QStringLiteral("tlbPic"), QStringLiteral("tlbAccessory"), QStringLiteral("tlbGet"),
            QStringLiteral("tlbVerify"), QStringLiteral("tlbDisVerify"), QStringLiteral("tlbSaveBom"),
            QStringLiteral("tlbLocal"), QStringLiteral("tlbRefresh")},
           false);
    enable(kBackward + kForward, false);
    enable(QStringList{QStringLiteral("tlbSave"), QStringLiteral("tlbCancel")} + kLineButtons, true);
    show(kLineButtons + QStringList{QStringLiteral("p3")}, true);
    m_controls.showTemplate.setShown(true);
    m_controls.printTemplate.setShown(false);
}

void CardCommandState::leaveEditing()
{
    enable({QStringLiteral("tlbPrint"), QStringLiteral("tlbPreview"), QStringLiteral("tlbSend"),
            QStringLiteral("tlbAdd"), QStringLiteral("tlbLocal"), QStringLiteral("tlbRefresh")},
           true);
    enable(QStringList{QStringLiteral("tlbSave"), QStringLiteral("tlbCancel")} + kLineButtons, false);
    show(kLineButtons + QStringList{QStringLiteral("p3")}, false);
    m_controls.showTemplate.setShown(false);
    m_controls.printTemplate.setShown(true);
    m_controls.card.setEditState(CardControl::Viewing);
    voucherRule();
}

void CardCommandState::voucherRule()
{
    if (!m_state.hasVoucher()) {
        enable({QStringLiteral("tlbDel"), QStringLiteral("tlbCopy"), QStringLiteral("tlbPic"),
                QStringLiteral("tlbAccessory"), QStringLiteral("tlbGet"), QStringLiteral("tlbVerify"),
                QStringLiteral("tlbDisVerify"), QStringLiteral("tlbSaveBom")},
               false);
        show({QStringLiteral("tlbDisVerify")}, false);
        enable({QStringLiteral("tlbEdit")}, m_state.bolHasCode);
        m_state.bolHasCode = false;
    } else {
        const bool confirmed = !m_state.strVerifier.trimmed().isEmpty();
        const bool cycle = m_state.bolCycle;
        enable({QStringLiteral("tlbEdit"), QStringLiteral("tlbDel"), QStringLiteral("tlbGet")}, !confirmed);
        enable({QStringLiteral("tlbSaveBom")}, confirmed && !cycle);
        enable({QStringLiteral("tlbCopy")}, !cycle);
        enable({QStringLiteral("tlbPic"), QStringLiteral("tlbAccessory")}, true);
        // Confirm and cancel-confirm share one place on the bar.
        show({QStringLiteral("tlbVerify")}, !confirmed);
        show({QStringLiteral("tlbDisVerify")}, confirmed);
        enable({QStringLiteral("tlbVerify"), QStringLiteral("tlbDisVerify")}, !cycle);
    }
    enable(kBackward, !m_state.strPrevVoucherID.isEmpty());
    enable(kForward, !m_state.strNextVoucherID.isEmpty());
}

void CardCommandState::enable(const QStringList &keys, bool enabled)
{
    for (const QString &key : keys)
        m_controls.toolbar.setButtonEnabled(key, enabled);
}

void CardCommandState::show(const QStringList &keys, bool shown)
{
    for (const QString &key : keys)
        m_controls.toolbar.setButtonVisible(key, shown);
}
