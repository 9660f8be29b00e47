#include "frmVL_JDYPGL.h"

#include "ListFormatService.h"
#include "ListOutput.h"
#include "ListPaging.h"
#include "ListPermissionCondition.h"
#include "ListPrintSettings.h"
#include "ListProfile.h"
#include "ListViewColumns.h"

#include "common/MessageService.h"
#include "common/modPublic.h"
#include "entry/clsVL_JDYPGLParam.h"
#include "host/DataPermissionService.h"
#include "host/ObjectRegistry.h"
#include "host/clsLogin.h"
#include "platform/Connection.h"
#include "sample/clsManageSample.h"

namespace {

const QString kWindow = QStringLiteral("frmVL_JDYPGL");
const QString kCommands = QStringLiteral("zlListFrm");

QString totalsColumnMessage()
{
    return QStringLiteral("不能选择非数值型项目作为合计列，请到栏目设置中重新设置列属性。");
}

std::unique_ptr<DataPermissionService> listPermission()
{
    auto service = std::make_unique<DataPermissionService>();
    auto login = modPublic::listLogin();
    service->BindLogin(login);
    return service;
}

} // namespace

frmVL_JDYPGL::frmVL_JDYPGL(std::shared_ptr<ListView> view)
    : m_view(std::move(view))
{
    m_view->setCaption(caption());
    m_view->setButtons({{QStringLiteral("Print"), QStringLiteral("打印")},
                        {QStringLiteral("Preview"), QStringLiteral("预览")},
                        {QStringLiteral("Output"), QStringLiteral("输出")},
                        {QStringLiteral("filter"), QStringLiteral("过滤")},
                        {QStringLiteral("Locate"), QStringLiteral("定位")},
                        {QStringLiteral("Find"), QStringLiteral("联查")},
                        {QStringLiteral("Refresh"), QStringLiteral("刷新")},
                        {QStringLiteral("Column"), QStringLiteral("栏目")},
                        {QStringLiteral("Help"), QStringLiteral("帮助")},
                        {QStringLiteral("Exit"), QStringLiteral("退出")}});
    modPublic::ApplyToolbarStyle(m_view->innerWidth(), m_view->toolbar(), m_view->commandBar());
}

frmVL_JDYPGL::~frmVL_JDYPGL() = default;

bool frmVL_JDYPGL::ShowVoucherList(std::shared_ptr<clsVL_JDYPGLParam> objShowParameter)
{
    if (!modPublic::CheckListAuth(listTask(), false)) {
        Unload();
        return false;
    }
    m_holdsTask = true;
    return open(std::move(objShowParameter));
}

bool frmVL_JDYPGL::ShowVoucherListEx(std::shared_ptr<clsVL_JDYPGLParam> objShowParameter, bool bCheckAuth)
{
    QString message;
    m_holdsTask = modPublic::CheckListAuthMsg(listTask(), false, message);
    if (bCheckAuth && !m_holdsTask) {
        modPublic::ShowInfo(message);
        Unload();
        return false;
    }
    return open(std::move(objShowParameter));
}

bool frmVL_JDYPGL::open(std::shared_ptr<clsVL_JDYPGLParam> param)
{
    m_param = param ? std::move(param) : std::make_shared<clsVL_JDYPGLParam>();
    auto cnn = modPublic::listConnection();
    auto login = modPublic::listLogin();
    if (!cnn || !cnn->isOpen() || !login) {
        reportError(QStringLiteral("没有打开的数据库连接或登录对象"), QStringLiteral("ShowVoucherList"));
        Unload();
        return false;
    }
    const QString card = m_param->CardNumber.isEmpty() ? modPublic::CardNumber() : m_param->CardNumber;
    m_info.loadVoucherInfo(card, *cnn, m_param->Special, login);
    m_format = std::make_unique<ListFormatService>(*cnn, login->UserId());
    if (auto loaded = m_format->load(m_info.BusObID()); !loaded) {
        reportError(loaded.error(), QStringLiteral("ShowVoucherList"));
        Unload();
        return false;
    }
    m_view->setSizeText(ListProfile::pageSizeText());
    m_view->setPageText(QStringLiteral("1"));
    m_view->setPagingEnabled(true);
    fillTemplates();
    if (!ListShow(true)) {
        Unload();
        return false;
    }
    m_view->showWindow();
    return true;
}

bool frmVL_JDYPGL::isVisible() const
{
    return m_view->isWindowVisible();
}

void frmVL_JDYPGL::Show()
{
    m_view->showWindow();
}

void frmVL_JDYPGL::ZOrder(int position)
{
    if (position == 0)
        m_view->raiseWindow();
}

void frmVL_JDYPGL::unloading()
{
    if (m_holdsTask) {
        m_holdsTask = false;
        modPublic::CheckListAuth(listTask(), true);
    }
    m_view->closeWindow();
}

void frmVL_JDYPGL::reportError(const QString &description, const QString &routine)
{
    modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, description, kWindow + QLatin1Char(':') + routine);
}

std::optional<SqlCondition> frmVL_JDYPGL::ShowFilter()
{
    auto cnn = modPublic::listConnection();
    auto login = modPublic::listLogin();
    if (!cnn || !login)
        return std::nullopt;
    FilterService service(*cnn, login->UserId());
    const QString report = m_info.FilterReportName();
    const QString sub = m_info.FilterSubID();
    auto items = service.items(report, sub);
    if (!items) {
        reportError(items.error(), QStringLiteral("ShowFilter"));
        return std::nullopt;
    }
    QList<FilterValue> values = service.remembered(report, sub).value_or({});
    while (true) {
        auto asked = m_view->askFilter(*items, values);
        if (!asked)
            return std::nullopt;
        values = *asked;
        auto condition = FilterService::condition(*items, values);
        if (!condition) {
            // The dialog opens again with what the user typed, so nothing is lost.
            modPublic::ShowInfo(condition.error());
            continue;
        }
        if (auto kept = service.remember(report, sub, values); !kept)
            reportError(kept.error(), QStringLiteral("ShowFilter"));
        return *condition;
    }
}

std::optional<ListQueryRequest> frmVL_JDYPGL::request(Connection &cnn)
{
    auto viewColumns = ListViewColumns::read(cnn, m_info.VchListQName());
    if (!viewColumns) {
        reportError(viewColumns.error(), QStringLiteral("ListShow"));
        return std::nullopt;
    }
    ListQueryRequest r;
    r.view = m_info.VchListQName();
    m_page.columns.clear();
    m_page.formats.clear();
    const ListNumberFormats formats = ListNumberFormats::read(cnn);
    QStringList missing;
    bool badSum = false;
    for (ListColumn c : m_format->shownColumns()) {
        if (!viewColumns->contains(c.field)) {
            missing << c.field;
            continue;
        }
        if (c.sum && !viewColumns->maySum(c.field)) {
            badSum = true;
            c.sum = false;
        }
        ListNumberFormats::Format f = formats.formatOf(c.field);
        if (f.decimals < 0 && !f.date) {
            // Number columns without a format of their own show the account's quantity decimals.
            if (viewColumns->kind(c.field) == ListColumnKind::Number)
                f = formats.formatOf(QStringLiteral("cdefine7"));
            else if (viewColumns->kind(c.field) == ListColumnKind::Date)
                f.date = true;
        }
        r.fields << c.field;
        if (c.sum)
            r.sumFields << c.field;
        m_page.columns << c;
        m_page.formats << f;
    }
    // A setting the view cannot serve is reported, and the list goes on without it, so the user
    // can put it right in the column settings.
    if (!missing.isEmpty())
        reportError(QStringLiteral("列表栏目“%1”不存在，请到栏目设置中重新设置列属性。")
                        .arg(missing.join(QStringLiteral("、"))),
                    QStringLiteral("ListShow"));
    if (badSum)
        reportError(totalsColumnMessage(), QStringLiteral("ListShow"));
    if (m_sort.isSet() && !r.fields.contains(m_sort.field))
        m_sort = {};
    r.sort = m_sort;
    r.permission = listPermissionCondition(*listPermission());
    r.filter = m_filter.value_or(SqlCondition{});
    return r;
}

bool frmVL_JDYPGL::ListShow(bool showFilter)
{
    if (showFilter) {
        auto asked = ShowFilter();
        if (!asked)
            return false;
        m_filter = std::move(asked);
        m_view->setPageText(QStringLiteral("1"));
    }
    if (!m_filter)
        return false;
    auto cnn = modPublic::listConnection();
    if (!cnn || !m_format)
        return false;
    auto req = request(*cnn);
    if (!req)
        return false;
    auto query = std::make_unique<ListQuery>(*req);
    // The totals note every row's key, so a page is read by its keys, this one and the next ones.
    auto totals = query->totals(*cnn, true);
    if (!totals) {
        reportError(totals.error(), QStringLiteral("ListShow"));
        return false;
    }
    m_page.totals.clear();
    for (int k = 0; k < m_page.columns.size(); ++k)
        m_page.totals << (m_page.columns[k].sum
                              ? totals->sums.value(int(req->sumFields.indexOf(m_page.columns[k].field)))
                              : QVariant());
    m_page.totalRows = totals->rows;
    m_page.sort = m_sort;
    m_query = std::move(query);
    m_totals = std::move(*totals);
    if (!showPage(*cnn))
        return false;
    if (m_page.totalRows == 0)
        modPublic::ShowInfo(QStringLiteral("没有找到符合条件的记录!"));
    return true;
}

bool frmVL_JDYPGL::showPage(Connection &cnn)
{
    const double size = m_view->sizeText().trimmed().toDouble();
    if (!(size > 0 && size <= ListPaging::MaxPageSize))
        m_view->setSizeText(QString::number(ListPaging::DefaultPageSize));
    const int pageSize = ListPaging::effectivePageSize(m_view->sizeText());
    m_page.pageCount = ListQuery::pageCount(m_totals->rows, pageSize);
    m_page.page = ListPaging::shownPage(ListPaging::pageNumber(m_view->pageText()).value_or(0), m_page.pageCount);
    m_view->setPageText(QString::number(m_page.page));

    auto rows = m_query->page(cnn, m_page.page, pageSize, *m_totals);
    if (!rows) {
        reportError(rows.error(), QStringLiteral("ListShow"));
        return false;
    }
    m_page.rows = std::move(*rows);
    m_view->showPage(m_page);
    if (m_page.totalRows == 0) {
        m_view->setStatus(QStringLiteral("没有找到符合条件的记录"));
    } else {
        m_view->setStatus(
            QStringLiteral("共 %1 条记录，第 %2/%3 页").arg(m_page.totalRows).arg(m_page.page).arg(m_page.pageCount));
    }
    return true;
}

void frmVL_JDYPGL::ButtonClick(const QString &key)
{
    const QString k = key.toLower();
    if (k == QLatin1String("print") || k == QLatin1String("preview"))
        print(k == QLatin1String("preview"));
    else if (k == QLatin1String("output"))
        exportRows();
    else if (k == QLatin1String("filter"))
        ListShow(true);
    else if (k == QLatin1String("locate"))
        m_view->locate();
    else if (k == QLatin1String("find"))
        openCard();
    else if (k == QLatin1String("refresh")) {
        m_view->setPageText(QStringLiteral("1"));
        ListShow(false);
    } else if (k == QLatin1String("column"))
        editColumns();
    else if (k == QLatin1String("help"))
        m_view->showHelp();
    else if (k == QLatin1String("exit"))
        Unload();
}

void frmVL_JDYPGL::pageButton(const QString &name)
{
    const int current = ListPaging::pageNumber(m_view->pageText()).value_or(0);
    const QString n = name.toLower();
    int target = current;
    if (n == QLatin1String("cmdfirst"))
        target = ListPaging::firstPage();
    else if (n == QLatin1String("cmdprevious"))
        target = ListPaging::previousPage(current);
    else if (n == QLatin1String("cmdnext"))
        target = ListPaging::nextPage(current, m_page.pageCount);
    else if (n == QLatin1String("cmdlast"))
        target = ListPaging::lastPage(m_page.pageCount);
    else if (n == QLatin1String("cmdpageok")) {
        m_view->setPagingEnabled(true);
        if (current > m_page.pageCount)
            target = ListPaging::lastPage(m_page.pageCount);
        if (!ListProfile::setPageSizeText(m_view->sizeText()))
            m_view->setStatus(QStringLiteral("页大小未能保存到配置文件"));
    } else {
        return;
    }
    m_view->setPageText(QString::number(target));
    // A move pages through the result the last query found (rows deleted since are left out);
    // 确认 and 刷新 query it again.
    auto cnn = modPublic::listConnection();
    if (n != QLatin1String("cmdpageok") && m_query && m_totals && cnn)
        showPage(*cnn);
    else
        ListShow(false);
}

void frmVL_JDYPGL::pageSizeEdited()
{
    m_view->setPageText(QStringLiteral("1"));
    m_view->setPagingEnabled(false);
}

bool frmVL_JDYPGL::validatePageBox()
{
    const auto n = ListPaging::pageNumber(m_view->pageText());
    if (!n) {
        modPublic::ShowInfo(ListPaging::pageNumberMessage());
        return false;
    }
    m_view->setPageText(QString::number(*n));
    return true;
}

bool frmVL_JDYPGL::validateSizeBox()
{
    const auto n = ListPaging::pageSize(m_view->sizeText());
    if (!n) {
        modPublic::ShowInfo(ListPaging::pageSizeMessage());
        return false;
    }
    m_view->setSizeText(QString::number(*n));
    return true;
}

void frmVL_JDYPGL::sortByColumn(int column)
{
    if (column < 0 || column >= m_page.columns.size())
        return;
    const QString field = m_page.columns[column].field;
    m_sort = ListSort{field, m_sort.field == field && !m_sort.descending};
    m_view->setPageText(QStringLiteral("1"));
    ListShow(false);
}

OutputDocument frmVL_JDYPGL::outputDocument() const
{
    auto cnn = modPublic::listConnection();
    if (!m_query || !cnn)
        return {};
    return ListOutput::document(caption(), *m_query, m_page, cnn->ConnectionString());
}

void frmVL_JDYPGL::print(bool preview)
{
    if (m_page.totalRows < 1) {
        modPublic::ShowInfo(QStringLiteral("没有数据无法预览!"));
        return;
    }
    const QString before = m_info.ListFormatXML();
    const QString after = m_view->print([this] { return outputDocument(); }, before, preview);
    if (after.isEmpty() || after == before)
        return;
    auto cnn = modPublic::listConnection();
    if (auto saved = ListPrintSettings::saveFormat(*cnn, m_info.ListFormatXMLmID(), after); !saved) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, saved.error(),
                              kCommands + QStringLiteral(":voucherList_PrintSettingChnged"));
        return;
    }
    m_info.setListFormatXML(after);
}

void frmVL_JDYPGL::exportRows()
{
    if (m_page.totalRows < 1) {
        modPublic::ShowInfo(QStringLiteral("没有可以输出的数据!"));
        return;
    }
    m_view->exportRows([this] { return outputDocument(); });
}

void frmVL_JDYPGL::editColumns()
{
    if (!m_format)
        return;
    auto edited = m_view->askColumns(m_format->columns());
    if (!edited)
        return;
    if (auto saved = m_format->save(*edited); !saved) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, saved.error(),
                              kCommands + QStringLiteral(":ButtonClick"));
        return;
    }
    ButtonClick(QStringLiteral("Refresh"));
}

void frmVL_JDYPGL::openCard()
{
    auto cnn = modPublic::listConnection();
    auto login = modPublic::listLogin();
    if (!cnn || !login)
        return;
    const int row = m_view->currentRow();
    const int key = m_page.rows.keyColumn();
    const QVariant id
        = row >= 0 && row < m_page.rows.rows.size() && key >= 0 ? m_page.rows.rows[row].value(key) : QVariant();
    if (id.toLongLong() <= 0) {
        MessageService::current().show(QStringLiteral("没有任何单据，请检查！"), QStringLiteral("销售管理"),
                                       MessageService::Information);
        return;
    }
    auto card = ObjectRegistry::createAs<clsManageSample>(ObjectRegistry::progId(QStringLiteral("clsManageSample")));
    if (!card) {
        modPublic::ShowErrMsg(modPublic::MissingObjectErrorNumber, QStringLiteral("无法创建单据卡片对象"),
                              kCommands + QStringLiteral(":ButtonClick"));
        return;
    }
    card->setAppHelpFilePath(modPublic::AppHelpFilePath());
    card->ShowVoucher3(cnn, login, QString::number(id.toLongLong()), QString(), nullptr, 0, QString(), false);
}

void frmVL_JDYPGL::fillTemplates()
{
    auto cnn = modPublic::listConnection();
    auto templates = ListPrintSettings::templates(*cnn, m_info.CurrentCardNumber(), *listPermission());
    if (!templates) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, templates.error(),
                              kCommands + QStringLiteral(":InitComTemplatePRN"));
        return;
    }
    m_view->setTemplates(*templates);
}
