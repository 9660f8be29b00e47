#include "PrintLayoutEditor.h"

#include "common/MessageService.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { Shown, Section, Field, Caption, Width, ColumnCount };

const QString kHead = QStringLiteral("表头");
const QString kBody = QStringLiteral("表体");
// The widest column a template keeps, in characters.
constexpr int kMaxWidth = 200;

QTableWidgetItem *fixedItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

PrintLayoutEditor::PrintLayoutEditor(const PrintTemplate &t, Saver saver, QWidget *parent)
    : QDialog(parent)
    , m_template(t)
    , m_saver(std::move(saver))
    , m_table(new QTableWidget(this))
    , m_paper(new QComboBox(this))
    , m_orientation(new QComboBox(this))
{
    setObjectName(QStringLiteral("PrintLayoutEditor"));
    setWindowTitle(QStringLiteral("打印格式设计 - %1 %2").arg(t.id).arg(t.name));
    resize(640, 560);

    m_table->setObjectName(QStringLiteral("layoutTable"));
    m_table->setColumnCount(ColumnCount);
    m_table->setHorizontalHeaderLabels({QStringLiteral("打印"), QStringLiteral("位置"), QStringLiteral("字段"),
                                        QStringLiteral("标题"), QStringLiteral("宽度(字符)")});
    m_table->horizontalHeader()->setSectionResizeMode(Caption, QHeaderView::Stretch);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    fill();

    m_paper->setObjectName(QStringLiteral("paper"));
    m_paper->addItems(PrintSetting::papers());
    m_paper->setCurrentText(t.setting.paper);
    m_orientation->setObjectName(QStringLiteral("orientation"));
    m_orientation->addItems({QStringLiteral("纵向"), QStringLiteral("横向")});
    m_orientation->setCurrentIndex(t.setting.landscape ? 1 : 0);

    auto *up = new QPushButton(QStringLiteral("上移(&U)"), this);
    auto *down = new QPushButton(QStringLiteral("下移(&D)"), this);
    up->setToolTip(QStringLiteral("Ctrl+Up"));
    down->setToolTip(QStringLiteral("Ctrl+Down"));
    connect(up, &QPushButton::clicked, this, [this] { moveCurrent(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveCurrent(1); });
    auto *upKey = new QAction(this);
    upKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
    connect(upKey, &QAction::triggered, this, [this] { moveCurrent(-1); });
    auto *downKey = new QAction(this);
    downKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
    connect(downKey, &QAction::triggered, this, [this] { moveCurrent(1); });
    auto *saveKey = new QAction(this);
    saveKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saveKey, &QAction::triggered, this, [this] { save(); });
    addActions({upKey, downKey, saveKey});

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("保存(&S)"));
    buttons->button(QDialogButtonBox::Save)->setToolTip(QStringLiteral("Ctrl+S"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { save(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *moves = new QHBoxLayout;
    moves->addWidget(up);
    moves->addWidget(down);
    moves->addStretch(1);
    auto *page = new QFormLayout;
    page->addRow(QStringLiteral("纸张(&P)"), m_paper);
    page->addRow(QStringLiteral("方向(&O)"), m_orientation);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(moves);
    layout->addLayout(page);
    layout->addWidget(buttons);
    m_table->setFocus();
    if (m_table->rowCount() > 0)
        m_table->setCurrentCell(0, Caption);
}

void PrintLayoutEditor::fill()
{
    QList<std::pair<bool, PrintItem>> rows;
    for (const PrintItem &item : std::as_const(m_template.head))
        rows.append({true, item});
    for (const PrintItem &item : std::as_const(m_template.body))
        rows.append({false, item});
    // Print order within each section; the head comes first.
    std::stable_sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first : a.second.order < b.second.order;
    });
    m_table->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const auto &[head, item] = rows[r];
        auto *shown = fixedItem(QString());
        shown->setFlags(shown->flags() | Qt::ItemIsUserCheckable);
        shown->setCheckState(item.shown ? Qt::Checked : Qt::Unchecked);
        m_table->setItem(r, Shown, shown);
        m_table->setItem(r, Section, fixedItem(head ? kHead : kBody));
        m_table->setItem(r, Field, fixedItem(item.field));
        m_table->setItem(r, Caption, new QTableWidgetItem(item.caption));
        auto *width = new QTableWidgetItem;
        width->setData(Qt::EditRole, item.width);
        m_table->setItem(r, Width, width);
        m_table->item(r, Field)->setData(Qt::UserRole, item.decimals);
    }
}

void PrintLayoutEditor::moveCurrent(int step)
{
    const int from = m_table->currentRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= m_table->rowCount()
        || m_table->item(from, Section)->text() != m_table->item(to, Section)->text())
        return;
    const int column = m_table->currentColumn();
    for (int c = 0; c < ColumnCount; ++c) {
        QTableWidgetItem *a = m_table->takeItem(from, c);
        QTableWidgetItem *b = m_table->takeItem(to, c);
        m_table->setItem(from, c, b);
        m_table->setItem(to, c, a);
    }
    m_table->setCurrentCell(to, column);
}

PrintTemplate PrintLayoutEditor::edited() const
{
    PrintTemplate t = m_template;
    t.head.clear();
    t.body.clear();
    for (int r = 0; r < m_table->rowCount(); ++r) {
        PrintItem item;
        item.field = m_table->item(r, Field)->text();
        item.decimals = m_table->item(r, Field)->data(Qt::UserRole).toInt();
        item.caption = m_table->item(r, Caption)->text().trimmed();
        item.width = m_table->item(r, Width)->data(Qt::EditRole).toInt();
        item.shown = m_table->item(r, Shown)->checkState() == Qt::Checked;
        item.order = r + 1;
        (m_table->item(r, Section)->text() == kHead ? t.head : t.body).append(item);
    }
    t.setting.paper = m_paper->currentText();
    t.setting.landscape = m_orientation->currentIndex() == 1;
    return t;
}

bool PrintLayoutEditor::save()
{
    const PrintTemplate t = edited();
    QString problem;
    int shown = 0;
    for (const QList<PrintItem> *items : {&t.head, &t.body}) {
        for (const PrintItem &item : *items) {
            shown += item.shown ? 1 : 0;
            if (problem.isEmpty() && item.shown && item.caption.isEmpty())
                problem = QStringLiteral("字段[%1]的标题不能为空，请检查！").arg(item.field);
            if (problem.isEmpty() && (item.width < 0 || item.width > kMaxWidth))
                problem = QStringLiteral("字段[%1]的宽度应在0到%2之间，请检查！").arg(item.field).arg(kMaxWidth);
        }
    }
    if (problem.isEmpty() && shown == 0)
        problem = QStringLiteral("至少要打印一个项目，请检查！");
    if (problem.isEmpty() && m_saver) {
        if (auto saved = m_saver(t); !saved)
            problem = QStringLiteral("打印格式保存失败：%1").arg(saved.error());
    }
    if (!problem.isEmpty()) {
        MessageService::current().show(problem, QStringLiteral("销售管理"), MessageService::Exclamation);
        return false;
    }
    accept();
    return true;
}
