#include "CardCommands.h"

namespace CardCommands {

namespace {

CardCommand button(const char *key, const char *caption, const QString &task = QString())
{
    return {QString::fromLatin1(key), QString::fromUtf8(caption), task, false};
}

CardCommand separator(const char *key)
{
    return {QString::fromLatin1(key), QString(), QString(), true};
}

} // namespace

const QList<CardCommand> &toolbar()
{
    // "tlbFrist" is spelled as the card has always called it; other windows and settings use it.
    static const QList<CardCommand> commands{
        button("tlbSetting", "设置"),
        button("tlbPrint", "打印"),
        button("tlbPreview", "预览"),
        button("tlbSend", "输出"),
        separator("p1"),
        button("tlbAdd", "新增", changeTask()),
        button("tlbEdit", "修改", changeTask()),
        button("tlbCopy", "复制", changeTask()),
        button("tlbDel", "删除", changeTask()),
        button("tlbSave", "保存", changeTask()),
        button("tlbCancel", "放弃"),
        separator("p2"),
        button("tlbAddLine", "增行"),
        button("tlbDelLine", "删行"),
        separator("p3"),
        button("tlbPic", "图片"),
        button("tlbAccessory", "附件"),
        separator("p4"),
        button("tlbGet", "取数", changeTask()),
        separator("p5"),
        button("tlbVerify", "审核", confirmTask()),
        button("tlbDisVerify", "弃审", cancelConfirmTask()),
        separator("p6"),
        button("tlbSaveBom", "转换", convertTask()),
        separator("p7"),
        button("tlbFrist", "首张"),
        button("tlbPrevious", "上张"),
        button("tlbNext", "下张"),
        button("tlbLast", "末张"),
        button("tlbLocal", "定位"),
        button("tlbRefresh", "刷新"),
        button("tlbHelp", "帮助"),
        button("tlbExit", "退出"),
    };
    return commands;
}

const QList<CardMenuItem> &printMenu()
{
    static const QList<CardMenuItem> items{
        {QStringLiteral("print"), QStringLiteral("打印")},
        {QStringLiteral("newprint"), QStringLiteral("新打印")},
        {QStringLiteral("newdesign"), QStringLiteral("新设计")},
        {QStringLiteral("newpreview"), QStringLiteral("新预览")},
    };
    return items;
}

const CardCommand *find(const QString &key)
{
    for (const CardCommand &c : toolbar()) {
        if (c.key.compare(key, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

QString taskOf(const QString &key)
{
    const CardCommand *c = find(key);
    return c ? c->taskId : QString();
}

} // namespace CardCommands
