// Pieces the windows of the fiscal sheets and the declarations share.
#pragma once

#include <QString>
#include <vector>

class QBoxLayout;
class QComboBox;
class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace traveno::declarations_ui {

// A window's heading: bold, a little larger, centred.
QLabel* WindowHeading(const QString& text, QWidget* parent);

// Adds the row of the confirming button (the dialog's default button) and
// "&Abandon", which closes the dialog, to `layout`.
void AddConfirmAbandonRow(QDialog& dialog, QBoxLayout& layout, QPushButton& confirm);

// Lists the years and selects the latest.
void FillYears(QComboBox& list, const std::vector<int>& years);

}  // namespace traveno::declarations_ui
