#pragma once

#include <QComboBox>
#include <QString>

namespace talvor {

class DataGrid;
class DBComboBox;

// Replaces the items and the text of a pick list with the distinct values of a column that are
// not blank, read through TempQ. Errors of the statement reach the caller.
void FillComboDistinct(const QString& table, const QString& column, QComboBox* box);

// Adds to a bound pick list the distinct values of a column that it does not hold yet; it
// never removes one, so repeated calls add nothing twice.
void FillDBComboDistinct(const QString& table, const QString& column, DBComboBox* box);

// Gives grid columns the goods captions: the k-th digit of order names the column that gets
// the k-th caption; an order shorter than five digits means "01234". A digit that names no
// column of the grid is an error, and then no title changes.
void ApplyGoodsCaptions(DataGrid& grid, const QString& order = {});

// Older Windows needed typed-text completion switched off in a form's pick lists; no platform
// this program runs on does, so nothing changes.
inline void AdjustComboBoxes(QWidget* /*form*/) {}

}  // namespace talvor
