#include "declarations/ui/window_parts.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace traveno::declarations_ui {

QLabel* WindowHeading(const QString& text, QWidget* parent) {
  auto* heading = new QLabel(text, parent);
  QFont font = heading->font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.2);
  heading->setFont(font);
  heading->setAlignment(Qt::AlignCenter);
  return heading;
}

void AddConfirmAbandonRow(QDialog& dialog, QBoxLayout& layout, QPushButton& confirm) {
  auto* buttons = new QHBoxLayout;
  auto* abandon = new QPushButton("&Abandon", &dialog);
  abandon->setObjectName("BAbandon");
  abandon->setAutoDefault(false);
  confirm.setDefault(true);
  buttons->addWidget(&confirm);
  buttons->addWidget(abandon);
  layout.addLayout(buttons);
  QObject::connect(abandon, &QPushButton::clicked, &dialog, &QDialog::reject);
}

void FillYears(QComboBox& list, const std::vector<int>& years) {
  for (const int year : years) list.addItem(QString::number(year));
  list.setCurrentIndex(list.count() - 1);
}

}  // namespace traveno::declarations_ui
