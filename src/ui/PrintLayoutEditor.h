#pragma once

#include "host/PrintTemplate.h"
#include "platform/Result.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QTableWidget;

// A small editor of a print template's layout: which head items and body columns are printed, in
// which order, with which captions and widths, and on which paper in which orientation. Keyboard
// first: the table has the focus, Space ticks an item, Ctrl+Up and Ctrl+Down move it within its
// section, Ctrl+S saves. Saving hands the edited template to the saver; a refusal is shown and the
// editor stays open with what was typed.
class PrintLayoutEditor : public QDialog
{
    Q_OBJECT

public:
    using Saver = std::function<Result<void>(const PrintTemplate &)>;

    PrintLayoutEditor(const PrintTemplate &t, Saver saver, QWidget *parent = nullptr);

    // The template as edited so far.
    PrintTemplate edited() const;
    QTableWidget *table() const { return m_table; }
    QComboBox *paper() const { return m_paper; }
    QComboBox *orientation() const { return m_orientation; }
    // Moves the current row up (-1) or down (+1) within its section.
    void moveCurrent(int step);
    // Checks and saves; true when saved (the dialog is then accepted).
    bool save();

private:
    void fill();

    PrintTemplate m_template;
    Saver m_saver;
    QTableWidget *m_table;
    QComboBox *m_paper;
    QComboBox *m_orientation;
};
