#pragma once

#include <QString>

#include <optional>

// The rules of the list's page box and page-size box: what a typed text means, which page each
// page button goes to, and the page size a query uses.
namespace ListPaging {

constexpr int DefaultPageSize = 30;
constexpr int MaxPageSize = 5000;

// A page number typed in the page box: numeric and, rounded half to even, at least 1.
std::optional<int> pageNumber(const QString &text);
// A page size typed in the size box: numeric and, rounded half to even, 0 to 5000. 0 is accepted
// here; a query then uses the default.
std::optional<int> pageSize(const QString &text);
// The size a query uses for the box's text: the number when it is 1 to 5000, else the default.
int effectivePageSize(const QString &text);

// Where the buttons go from the page box's number, given the page count of the last query.
int firstPage();
int previousPage(int current);
int nextPage(int current, int pageCount);
int lastPage(int pageCount);
// The page a query shows for the page box's number: at least 1, at most the last page.
int shownPage(int current, int pageCount);

// The boxes' messages.
QString pageNumberMessage();
QString pageSizeMessage();

} // namespace ListPaging
