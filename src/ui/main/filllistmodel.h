#pragma once

// The fill list: one row per fill in database order, the columns chosen by the ColDef setting.
// Cell texts are made from the database whenever the view asks for them, so the model keeps
// nothing per row; it follows the open log's change signals.
//
// A log of one kind of fill (fuel, or charges) names the units in the column headers. One that
// holds fuel and charges names them in each cell of amount, consumption and endurance.

#include "db/regional.h"
#include "db/units.h"
#include "stats/derived.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <limits>

class CFuelDatabase;
class CLogDocument;

class CFillListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Every column the list can show, in the order they appear when shown.
    enum Column { RecordNumber, Date, Fuel, Cost, Odometer, Consumption, Endurance, Marks };
    Q_ENUM(Column)

    explicit CFillListModel(const CLogDocument& document, QObject* parent = nullptr);
    ~CFillListModel() override;

    // The ColDef bit that shows a column, and the narrowest width in pixels it is given.
    static quint32 columnBit(Column column);
    static int columnWidth(Column column);
    // The shown columns for a ColDef value; bits above 0x80 are ignored.
    static QList<Column> columnsFor(quint32 columnDefinition);
    // What decides the endurance and marks columns besides ColDef. In a fuel log whose
    // consumption is a distance per volume the endurance column repeats it: hidden. A log with
    // partial or missed fills shows their marks. A column the user has chosen in the settings
    // (its bit in chosenColumns) follows ColDef alone.
    struct LogTraits {
        bool consumptionIsEndurance = false;
        bool marked = false;
    };
    static QList<Column> columnsFor(quint32 columnDefinition, quint32 chosenColumns, LogTraits log);
    // The chosen columns after the settings showed the boxes `shown` and the user left them as
    // `checked`: a column that follows the log does so until the user changes its box.
    static quint32 chosenColumns(quint32 chosenBefore, quint32 shown, quint32 checked);
    // The ColDef bits of the columns shown now.
    quint32 shownColumnBits() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    Column columnAt(int position) const { return m_columns.at(position); }
    // The position of a shown column, or -1.
    int positionOf(Column column) const { return int(m_columns.indexOf(column)); }
    // Under the filling method read at the last rebuild, in the units of the current pass.
    QString cellText(int row, Column column) const;
    // The texts among which the column's widest lies, for the data shown: made from the largest
    // and smallest values of the rows from firstRow to lastRow, not from every row's text. The
    // record number and the date always come from the last row.
    QStringList widestTexts(Column column, int firstRow = 0,
                            int lastRow = std::numeric_limits<int>::max()) const;

    // A pass over the list begins (a rebuild, a refresh or a painting of the view): what every
    // cell needs is taken once here, not once per cell.
    void startPass();
    // The filling method of the cells' figures. Only the Settings dialog changes it, and a
    // rebuild follows: the store is not opened at every painting.
    FillingMethod fillingMethod() const { return m_fillingMethod; }

    // Reads ColDef and the filling method and builds columns and rows anew.
    void rebuild();
    // The header texts, after a change of language.
    void headersChanged();
    // Every row's texts from first to last may have changed.
    void rowsChanged(int first, int last);

    // What the rows hold: fuel only, charges only (or nothing in an electric vehicle's log), or
    // both.
    enum class Kinds { Fuel, Charges, Both };
    Kinds kinds() const { return m_kinds; }

private:
    LogTraits logTraits() const;
    // Shows or hides the columns that follow the log (after a change of its fills or units).
    void updateColumns();
    // Looks at the fills again: true when what they hold has changed, and the headers with it.
    bool countKinds();
    // The value of the amount, consumption or endurance cell of a fill, in the fill's unit.
    float cellValue(int row, Column column, bool charge) const;
    // A cell value's text, with its unit when the log holds both kinds.
    QString valueText(const QString& text, Column column, bool charge) const;

    const CFuelDatabase& m_database;
    QList<Column> m_columns;
    quint32 m_columnDefinition = 0;
    quint32 m_chosenColumns = 0;
    bool m_columnsRead = false; // the columns are read at the first rebuild
    FillingMethod m_fillingMethod = FillingMethod::FullTank;
    LogUnits m_units;
    RegionalPass m_regional;
    Kinds m_kinds = Kinds::Fuel;
};
