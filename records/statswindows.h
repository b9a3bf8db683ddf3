// The statistics windows of all tests, of the men and of the women, and the
// print layout of each: the same table on a white sheet, never shown on
// screen, printed as the image of its whole window.
//
//     statistics window   print layout   group
//     frmzol10            frmzol12       all tests
//     frmzol16            frmzol18       men
//     frmzol15            frmzol17       women
#pragma once

#include "platform/form.h"
#include "records/statistics.h"

#include <QMap>

class QLabel;
class QPushButton;

namespace zol {

struct SheetLayout;

// What the six windows share: labels Label1 to Label25 (a window without
// one of them leaves it nullptr; the value cells are those of
// StatisticsCells) laid out from a table.
class StatisticsForm : public Form, public StatisticsCells {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;   // title
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;  // "平均数"
    QLabel* Label12 = nullptr;  // "标准差"
    QLabel* Label13 = nullptr;  // scale captions P, E, N, L
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label25 = nullptr;  // "因   子"

    StatsGroup group() const { return group_; }
    // Label by number, nullptr when the window has none.
    QLabel* label(int number) const;
    // Cell name -> text of every value cell the window has.
    QMap<QString, QString> cells() const;

protected:
    StatisticsForm(const SheetLayout& layout, StatsGroup group);
    // Sets each value cell the window has; the others are left alone.
    void setCells(const QMap<QString, QString>& cells);
    // Computes the group's statistics into the cells.
    void computeCells();

private:
    QLabel** slot(int number);
    StatsGroup group_;
};

// A print layout: filled at its load, and afresh before every print.
class StatisticsLayoutForm : public StatisticsForm {
    Q_OBJECT
public:
    virtual void fill() = 0;

protected:
    using StatisticsForm::StatisticsForm;
    void Form_Load() override { fill(); }
};

// A statistics window: computes at its load; 打印 prints its layout window,
// 退出 unloads it.
class StatisticsWindowForm : public StatisticsForm {
    Q_OBJECT
public:
    QPushButton* Command1 = nullptr;   // print
    QPushButton* Command2 = nullptr;   // exit

    void Command1_Click();
    void Command2_Click() { Unload(); }

protected:
    StatisticsWindowForm(const SheetLayout& layout, StatsGroup group);
    void Form_Load() override;
    // The layout window, loaded (and so filled) by this reference.
    virtual StatisticsLayoutForm& printLayout(bool* wasLoaded) = 0;
};

class Frmzol10Form : public StatisticsWindowForm {
    Q_OBJECT
public:
    Frmzol10Form();

protected:
    StatisticsLayoutForm& printLayout(bool* wasLoaded) override;
};

class Frmzol16Form : public StatisticsWindowForm {
    Q_OBJECT
public:
    Frmzol16Form();

protected:
    StatisticsLayoutForm& printLayout(bool* wasLoaded) override;
};

class Frmzol15Form : public StatisticsWindowForm {
    Q_OBJECT
public:
    Frmzol15Form();

protected:
    StatisticsLayoutForm& printLayout(bool* wasLoaded) override;
};

// Copies the captions of frmzol10's cells; touches no database.
class Frmzol12Form : public StatisticsLayoutForm {
    Q_OBJECT
public:
    Frmzol12Form();
    void fill() override;
};

// frmzol18 and frmzol17 compute again with their window's statements.
class Frmzol18Form : public StatisticsLayoutForm {
    Q_OBJECT
public:
    Frmzol18Form();
    void fill() override { computeCells(); }
};

class Frmzol17Form : public StatisticsLayoutForm {
    Q_OBJECT
public:
    Frmzol17Form();
    void fill() override { computeCells(); }
};

inline Frmzol10Form& frmzol10() { return DefaultForm<Frmzol10Form>::get(); }
inline Frmzol16Form& frmzol16() { return DefaultForm<Frmzol16Form>::get(); }
inline Frmzol15Form& frmzol15() { return DefaultForm<Frmzol15Form>::get(); }
inline Frmzol12Form& frmzol12() { return DefaultForm<Frmzol12Form>::get(); }
inline Frmzol18Form& frmzol18() { return DefaultForm<Frmzol18Form>::get(); }
inline Frmzol17Form& frmzol17() { return DefaultForm<Frmzol17Form>::get(); }

} // namespace zol
