#include "ui/record_navigator.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace traveno::ui {

RecordNavigator::RecordNavigator(QAbstractItemView* view, std::function<void()> refresh,
                                 QWidget* parent)
    : QWidget(parent), view_(view) {
  setObjectName("DBNavigator");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  const auto make = [&](const char* name, QStyle::StandardPixmap icon, const char* hint) {
    auto* button = new QPushButton(style()->standardIcon(icon), QString(), this);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    layout->addWidget(button);
    return button;
  };
  first_ = make("BPrimul", QStyle::SP_MediaSkipBackward, "Prima linie");
  prior_ = make("BAnterior", QStyle::SP_MediaSeekBackward, "Linia anterioara");
  next_ = make("BUrmator", QStyle::SP_MediaSeekForward, "Linia urmatoare");
  last_ = make("BUltimul", QStyle::SP_MediaSkipForward, "Ultima linie");
  const auto current = [this] {
    return view_->currentIndex().isValid() ? view_->currentIndex().row() : -1;
  };
  connect(first_, &QPushButton::clicked, this, [this] { MoveTo(0); });
  connect(prior_, &QPushButton::clicked, this, [this, current] { MoveTo(current() - 1); });
  connect(next_, &QPushButton::clicked, this, [this, current] { MoveTo(current() + 1); });
  connect(last_, &QPushButton::clicked, this,
          [this] { MoveTo(view_->model() ? view_->model()->rowCount() - 1 : 0); });
  if (refresh) {
    refresh_ = make("BReimprospatare", QStyle::SP_BrowserReload, "Recitirea liniilor");
    connect(refresh_, &QPushButton::clicked, this, [refresh = std::move(refresh)] { refresh(); });
  }
  layout->addStretch();
}

void RecordNavigator::MoveTo(int row) {
  const QAbstractItemModel* model = view_->model();
  if (model == nullptr || model->rowCount() == 0) return;
  const int column = view_->currentIndex().isValid() ? view_->currentIndex().column() : 0;
  const QModelIndex index = model->index(std::clamp(row, 0, model->rowCount() - 1), column);
  view_->setCurrentIndex(index);
  view_->scrollTo(index);
}

}  // namespace traveno::ui
