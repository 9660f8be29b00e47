#pragma once

#include <QStringList>

// The attachment window's file filters are written as pairs of description and patterns joined by
// "|" ("JPEG图像 *.jpg|*.jpg;|所有文件|*.*"), patterns separated by ";". Qt's file dialogs take
// one entry per pair, "description (pattern pattern)".
namespace FileDialogFilter {

// The Qt filter entries, in order. Descriptions are trimmed and their inner runs of blanks kept
// as one; empty patterns (a trailing ";") are dropped. "*.*" becomes "*" (on this system a name
// without a dot has no extension to match). Every pattern with letters is offered in lower and in
// upper case as well, because the dialogs match case-sensitively here and files from cameras and
// other systems often carry upper-case extensions ("IMG_0001.JPG"). A pair without patterns, or a
// trailing description without its pair, is left out.
QStringList toQtFilters(const QString &filter);

// The entries joined as one filter string for QFileDialog (";;" between entries).
QString toQtFilterString(const QString &filter);

} // namespace FileDialogFilter
