#include "ui/print_preview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/system_info.h"
#include "ui/document_painter.h"
#include "ui/file_dialogs.h"
#include "ui/page_preparation.h"
#include "ui/window_base.h"

namespace traveno::ui {

// The page shown, drawn at the zoom on a white sheet.
class PageView : public QWidget {
 public:
  explicit PageView(QWidget* parent) : QWidget(parent) {
    setObjectName("PageView");
    setAutoFillBackground(false);
  }

  // Millimetres to the view's pixels at a zoom: the screen's resolution at
  // 100 %.
  double PixelsPerMm(int zoom) const { return logicalDpiX() / 25.4 * zoom / 100.0; }

  void Show(const reports::Page* page, const reports::PageSetup& setup, int zoom) {
    page_ = page;
    setup_ = setup;
    scale_ = PixelsPerMm(zoom);
    setFixedSize(static_cast<int>(setup.width * scale_) + 2 * kMargin,
                 static_cast<int>(setup.height * scale_) + 2 * kMargin);
    update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    const QRectF sheet(kMargin, kMargin, setup_.width * scale_, setup_.height * scale_);
    painter.fillRect(sheet.translated(3, 3), QColor(90, 90, 90));
    painter.fillRect(sheet, Qt::white);
    if (page_ == nullptr) return;
    painter.setClipRect(sheet.intersected(QRectF(event->rect())));
    painter.translate(kMargin, kMargin);
    painter_.PaintPage(painter, *page_, scale_);
  }

 private:
  static constexpr int kMargin = 12;
  const reports::Page* page_ = nullptr;
  reports::PageSetup setup_;
  double scale_ = 1;
  DocumentPainter painter_;
};

// The zoom buttons: a left click takes big steps, a right click small ones.
class ZoomButton : public QToolButton {
 public:
  ZoomButton(const QString& text, std::function<void(bool right_click)> on_click, QWidget* parent)
      : QToolButton(parent), on_click_(std::move(on_click)) {
    setText(text);
    setContextMenuPolicy(Qt::PreventContextMenu);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton && isEnabled() && rect().contains(event->pos())) {
      on_click_(true);
      return;
    }
    QToolButton::mouseReleaseEvent(event);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton) return;
    QToolButton::mousePressEvent(event);
  }

 private:
  std::function<void(bool)> on_click_;
};

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QToolButton* MakeButton(QWidget* parent, const QString& name, const QString& text,
                        const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(text);
  button->setToolTip(hint);
  button->setStatusTip(hint);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setMinimumWidth(30);
  return button;
}

}  // namespace

PrintPreview::PrintPreview(Prompter& prompter, PreviewOptions options, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      options_(std::move(options)),
      preparation_(std::make_unique<PagePreparation>()) {
  setObjectName("QR3Prev");
  setSizeGripEnabled(true);
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setWindowFlag(Qt::WindowMinimizeButtonHint, true);
  document_.title = kDefaultReportTitle;
  BuildControls();
  connect(preparation_.get(), &PagePreparation::PagesArrived, this, &PrintPreview::OnPagesArrived);
  connect(preparation_.get(), &PagePreparation::Finished, this,
          &PrintPreview::OnPreparationFinished);
  setWindowTitle(QStringLiteral("Preview:") + kDefaultReportTitle);
  resize(1000, 700);
}

PrintPreview::~PrintPreview() {
  preparation_.reset();
  if (wait_cursor_) QApplication::restoreOverrideCursor();
}

void PrintPreview::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  title_ = new QLabel(kDefaultReportTitle, this);
  title_->setObjectName("LTitlu");
  title_->setAlignment(Qt::AlignCenter);
  QFont title_font = title_->font();
  title_font.setBold(true);
  title_font.setPointSizeF(title_font.pointSizeF() * 1.25);
  title_->setFont(title_font);
  layout->addWidget(title_);

  auto* panel = new QHBoxLayout;
  panel->setSpacing(4);
  auto* pages_label = new QLabel("&Pagini", this);
  page_box_ = new QLineEdit(this);
  page_box_->setObjectName("EPagini");
  page_box_->setMinimumWidth(110);
  const QString page_hint =
      QStringLiteral("Selectie pagini pentru tiparire\nEx:1 sau 1-2 sau 1-2,1 sau 1,3,5,1-5");
  page_box_->setToolTip(page_hint);
  pages_label->setBuddy(page_box_);
  print_ = MakeButton(this, "BTiparire", "Tiparire", "Tiparire  Raport  Enter   ");
  auto* printer_label = new QLabel(QString::fromUtf8("&Imprimantă"), this);
  printer_box_ = new QComboBox(this);
  printer_box_->setObjectName("CBImprimanta");
  printer_box_->setMinimumWidth(160);
  printer_box_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  printer_label->setBuddy(printer_box_);
  first_ = MakeButton(this, "BInceput", "|<", "Inceput Raport     Home");
  previous_ = MakeButton(this, "BAnterioara", "<", "Pagina Anterioara     Page Up");
  page_label_ = new QLabel(this);
  page_label_->setObjectName("LPagina");
  page_label_->setMinimumWidth(90);
  page_label_->setAlignment(Qt::AlignCenter);
  next_ = MakeButton(this, "BUrmatoare", ">", "Pagina Urmatoare     Page Down");
  last_ = MakeButton(this, "BSfarsit", ">|", "Sfarsit Raport     End");
  zoom_out_ = new ZoomButton(
      "-", [this](bool right) { ZoomOut(right); }, this);
  zoom_out_->setObjectName("BMicsorare");
  zoom_out_->setToolTip("Micsorare     Ctrl -");
  zoom_out_->setMinimumWidth(30);
  zoom_display_ = new QLabel("100", this);
  zoom_display_->setObjectName("LZoom");
  zoom_display_->setFrameShape(QFrame::StyledPanel);
  zoom_display_->setMinimumWidth(44);
  zoom_display_->setAlignment(Qt::AlignCenter);
  zoom_in_ = new ZoomButton(
      "+", [this](bool right) { ZoomIn(right); }, this);
  zoom_in_->setObjectName("BMarire");
  zoom_in_->setToolTip("Marire     Ctrl +");
  zoom_in_->setMinimumWidth(30);
  fit_ = MakeButton(this, "BPagina", "Pagina", "Zoom to Fit  F10");
  hundred_ = MakeButton(this, "B100", "100%", "Zoom  100%  F11");
  width_ = MakeButton(this, "BLatime", QStringLiteral("Latime"), "Zoom to Width  F12");
  setup_ = MakeButton(this, "BSetari", QStringLiteral("Setari"), "Print Setup   ");

  panel->addWidget(pages_label);
  panel->addWidget(page_box_);
  panel->addWidget(print_);
  panel->addSpacing(8);
  panel->addWidget(printer_label);
  panel->addWidget(printer_box_);
  panel->addSpacing(8);
  for (QWidget* w : std::initializer_list<QWidget*>{first_, previous_, page_label_, next_, last_}) {
    panel->addWidget(w);
  }
  panel->addSpacing(8);
  for (QWidget* w : std::initializer_list<QWidget*>{zoom_out_, zoom_display_, zoom_in_, fit_,
                                                    hundred_, width_}) {
    panel->addWidget(w);
  }
  panel->addSpacing(8);
  panel->addWidget(setup_);
  panel->addStretch();
  layout->addLayout(panel);

  area_ = new QScrollArea(this);
  area_->setObjectName("PageArea");
  area_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  area_->setBackgroundRole(QPalette::Dark);
  view_ = new PageView(area_);
  area_->setWidget(view_);
  layout->addWidget(area_, 1);

  connect(print_, &QToolButton::clicked, this, &PrintPreview::PrintSelectedPages);
  connect(first_, &QToolButton::clicked, this, &PrintPreview::FirstPage);
  connect(previous_, &QToolButton::clicked, this, &PrintPreview::PreviousPage);
  connect(next_, &QToolButton::clicked, this, &PrintPreview::NextPage);
  connect(last_, &QToolButton::clicked, this, &PrintPreview::LastPage);
  connect(zoom_out_, &QToolButton::clicked, this, [this] { ZoomOut(false); });
  connect(zoom_in_, &QToolButton::clicked, this, [this] { ZoomIn(false); });
  connect(fit_, &QToolButton::clicked, this, &PrintPreview::ZoomToFit);
  connect(hundred_, &QToolButton::clicked, this, &PrintPreview::Zoom100);
  connect(width_, &QToolButton::clicked, this, &PrintPreview::ZoomToWidth);
  connect(setup_, &QToolButton::clicked, this, &PrintPreview::PrinterSetup);
  connect(printer_box_, &QComboBox::activated, this, &PrintPreview::ChoosePrinter);

  // The window's keys and its context menu work wherever the focus is, the
  // page box included (which then offers no menu of its own).
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) {
    child->installEventFilter(this);
    if (child != zoom_in_ && child != zoom_out_) child->setContextMenuPolicy(Qt::NoContextMenu);
  }
}

void PrintPreview::SetReport(const reports::Report& report) {
  document_ = reports::Document{};
  document_.title = report.title.empty() ? kDefaultReportTitle : report.title;
  document_.setup = report.setup;
  setWindowTitle(QStringLiteral("Preview:") + Text(document_.title));
  title_->setText(Text(document_.title));

  const PrinterList printers = options_.printers ? options_.printers() : AvailablePrinters();
  printer_box_->clear();
  printer_box_->addItems(printers.names);
  ChoosePrinter(std::clamp(printers.current, 0, static_cast<int>(printers.names.size()) - 1));

  shown_page_ = 1;
  user_moved_ = false;
  prepared_ = false;
  page_box_->setEnabled(true);
  page_box_->setFocus();
  RefreshPageControls();
  SetZoom(FitZoom(FitMode::kPage), FitMode::kPage,
          Text(reports::FitZoomText(report.setup.orientation == reports::Orientation::kLandscape)));
  if (!wait_cursor_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    wait_cursor_ = true;
  }
  preparation_->Start(report);
}

bool PrintPreview::preparing() const { return preparation_->running(); }

QToolButton* PrintPreview::zoom_out_button() const { return zoom_out_; }
QToolButton* PrintPreview::zoom_in_button() const { return zoom_in_; }

void PrintPreview::OnPagesArrived() {
  for (reports::Page& page : preparation_->TakePages()) document_.pages.push_back(std::move(page));
  if (!user_moved_) {
    // Until the user moves, each step shows page 1 fitted to the window.
    shown_page_ = 1;
    SetZoom(FitZoom(FitMode::kPage), FitMode::kPage,
            Text(reports::FitZoomText(document_.setup.orientation ==
                                      reports::Orientation::kLandscape)));
  }
  RefreshPageControls();
}

void PrintPreview::OnPreparationFinished(bool, const QString& error) {
  // Pages handed over just before the end are still waiting.
  OnPagesArrived();
  prepared_ = true;
  if (wait_cursor_) {
    QApplication::restoreOverrideCursor();
    wait_cursor_ = false;
  }
  page_box_->setEnabled(true);
  page_box_->setFocus();
  RefreshPageControls();
  if (!error.isEmpty()) prompter_.Message(MessageKind::kError, error.toStdString());
}

void PrintPreview::RefreshPageControls() {
  const int count = page_count();
  // Before any page is ready the box and the label count the shown page.
  const int shown_count = std::max(count, shown_page_);
  page_box_->setText(QStringLiteral("1-%1").arg(shown_count));
  // Typing replaces the whole range rather than adding to it.
  page_box_->selectAll();
  page_label_->setText(QStringLiteral("Pag. %1 / %2").arg(shown_page_).arg(shown_count));
  first_->setEnabled(shown_page_ > 1);
  previous_->setEnabled(shown_page_ > 1);
  next_->setEnabled(shown_page_ < count);
  last_->setEnabled(shown_page_ < count);
  RefreshView();
}

void PrintPreview::RefreshView() {
  const int count = page_count();
  const reports::Page* page =
      shown_page_ >= 1 && shown_page_ <= count ? &document_.pages[shown_page_ - 1] : nullptr;
  view_->Show(page, document_.setup, zoom_);
}

void PrintPreview::ShowPage(int page) {
  const int count = page_count();
  if (count == 0) return;
  user_moved_ = true;
  shown_page_ = std::clamp(page, 1, count);
  RefreshPageControls();
  area_->verticalScrollBar()->setValue(0);
}

void PrintPreview::FirstPage() { ShowPage(1); }
void PrintPreview::PreviousPage() { ShowPage(shown_page_ - 1); }
void PrintPreview::NextPage() { ShowPage(shown_page_ + 1); }
void PrintPreview::LastPage() { ShowPage(page_count()); }

void PrintPreview::GoToPage() {
  const std::optional<std::string> answer =
      prompter_.AskText(kApplicationTitle, kPageNumberPrompt, "");
  if (!answer) return;
  const QString text = QString::fromStdString(*answer).trimmed();
  bool whole = false;
  const int page = text.toInt(&whole);
  if (whole && page >= 1 && page <= page_count()) ShowPage(page);
}

void PrintPreview::SetZoom(int zoom, FitMode mode, const QString& display) {
  zoom_ = std::clamp(zoom, reports::kMinZoom, reports::kMaxZoom);
  fit_mode_ = mode;
  zoom_display_->setText(display.isEmpty() ? QString::number(zoom_) : display);
  zoom_out_->setEnabled(zoom_ > reports::kMinZoom);
  zoom_in_->setEnabled(zoom_ < reports::kMaxZoom);
  // A zoom is no page change: what the user typed in the page box stays.
  RefreshView();
}

int PrintPreview::FitZoom(FitMode mode) const {
  const QSize viewport = area_->maximumViewportSize() - QSize(28, 28);
  const double per_mm = view_->PixelsPerMm(100);
  const double across = viewport.width() / (document_.setup.width * per_mm) * 100;
  const double down = viewport.height() / (document_.setup.height * per_mm) * 100;
  const double zoom = mode == FitMode::kWidth ? across : std::min(across, down);
  return std::clamp(static_cast<int>(zoom), reports::kMinZoom, reports::kMaxZoom);
}

void PrintPreview::ZoomIn(bool right_click) {
  user_moved_ = true;
  SetZoom(reports::ZoomIn(zoom_, right_click), FitMode::kNone, {});
}

void PrintPreview::ZoomOut(bool right_click) {
  user_moved_ = true;
  SetZoom(reports::ZoomOut(zoom_, right_click), FitMode::kNone, {});
}

void PrintPreview::ZoomToFit() {
  user_moved_ = true;
  SetZoom(
      FitZoom(FitMode::kPage), FitMode::kPage,
      Text(reports::FitZoomText(document_.setup.orientation == reports::Orientation::kLandscape)));
}

void PrintPreview::Zoom100() {
  user_moved_ = true;
  SetZoom(100, FitMode::kNone, QStringLiteral("100"));
}

void PrintPreview::ZoomToWidth() {
  user_moved_ = true;
  SetZoom(FitZoom(FitMode::kWidth), FitMode::kWidth,
          Text(reports::WidthZoomText(document_.setup.orientation ==
                                      reports::Orientation::kLandscape)));
}

void PrintPreview::ApplyFit() {
  if (fit_mode_ == FitMode::kNone) return;
  zoom_ = FitZoom(fit_mode_);
  RefreshView();
}

void PrintPreview::ScrollScreens(int across, int down) {
  QScrollBar* horizontal = area_->horizontalScrollBar();
  QScrollBar* vertical = area_->verticalScrollBar();
  horizontal->setValue(horizontal->value() + across * horizontal->pageStep());
  vertical->setValue(vertical->value() + down * vertical->pageStep());
}

void PrintPreview::ChoosePrinter(int index) {
  if (index < 0 || index >= printer_box_->count()) return;
  printer_box_->setCurrentIndex(index);
  printer_box_->setToolTip(printer_box_->itemText(index));
  printer_.reset();
}

void PrintPreview::PrintSelectedPages() {
  if (page_box_->text().trimmed().isEmpty()) {
    prompter_.Message(MessageKind::kWarning, reports::kNoPagesChosen);
    return;
  }
  const reports::PageSelection selection =
      reports::ParsePageSelection(page_box_->text().toStdString(), page_count());
  if (!selection.unread.empty()) {
    prompter_.Message(MessageKind::kWarning, reports::UnreadPiecesMessage(selection.unread));
    return;
  }
  if (selection.ranges.empty()) {
    prompter_.Message(MessageKind::kWarning, reports::kNoPagesChosen);
    return;
  }
  if (!prompter_.AskYesNo(reports::PrintQuestion(selection.ranges, page_count()))) return;
  if (printer_box_->currentText() == QLatin1String(kPdfPrinterName)) {
    PrintToPdf(selection.ranges);
  } else {
    PrintToPrinter(selection.ranges);
  }
}

void PrintPreview::PrintToPdf(const std::vector<reports::PageRange>& ranges) {
  QString suggested = pdf_file_;
  if (suggested.isEmpty()) {
    QString name = Text(document_.title).simplified();
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9 _.-]")), QStringLiteral("_"));
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folder.exists()) folder = QDir::home();
    suggested = folder.filePath(name + QStringLiteral(".pdf"));
  }
  std::optional<QString> file;
  if (options_.choose_pdf_file) {
    file = options_.choose_pdf_file(suggested);
  } else {
    const QString chosen = AskSaveFileName(this, QStringLiteral("Salvare PDF"), suggested,
                                           QStringLiteral("Fisiere PDF (*.pdf)"));
    if (!chosen.isEmpty()) file = chosen;
  }
  if (!file || file->isEmpty()) return;
  if (!file->endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) file->append(".pdf");
  if (!options_.data_folder.empty()) {
    if (auto refusal = ProgramFileRefusal(options_.data_folder, file->toStdString())) {
      prompter_.Message(MessageKind::kWarning, *refusal);
      return;
    }
  }
  pdf_file_ = *file;
  try {
    WritePdf(document_, file->toStdString(), ranges);
  } catch (const Error& failure) {
    prompter_.Message(MessageKind::kError, failure.what());
  }
}

void PrintPreview::PrintToPrinter(const std::vector<reports::PageRange>& ranges) {
  const QString name = printer_box_->currentText();
  if (!printer_) printer_ = MakePrinter(name, document_.setup);
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    // The window stays responsive between one job and the next.
    if (i > 0) QCoreApplication::processEvents();
    const bool started = options_.print_job ? options_.print_job(name, document_, ranges[i])
                                            : PrintRange(*printer_, document_, ranges[i]);
    if (!started) {
      prompter_.Message(MessageKind::kError, "Tiparirea nu a putut fi pornita pe imprimanta " +
                                                 name.toStdString() + " !");
      return;
    }
  }
}

void PrintPreview::PrinterSetup() {
  const QString name = printer_box_->currentText();
  if (name == QLatin1String(kPdfPrinterName)) {
    // The built-in printer's only setting is the file it writes.
    const QString chosen = AskSaveFileName(this, QStringLiteral("Salvare PDF"), pdf_file_,
                                           QStringLiteral("Fisiere PDF (*.pdf)"));
    if (!chosen.isEmpty()) pdf_file_ = chosen;
    return;
  }
  if (!printer_) printer_ = MakePrinter(name, document_.setup);
  QPrintDialog dialog(printer_.get(), this);
  dialog.setWindowTitle(QStringLiteral("Setari imprimanta"));
  dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
  dialog.exec();
}

bool PrintPreview::RequestClose() {
  if (preparation_->running()) {
    if (prompter_.AskYesNo(kStopPreparationQuestion)) preparation_->Cancel();
    return false;
  }
  ApplyFit();
  shown_page_ = 1;
  document_.pages.clear();
  view_->Show(nullptr, document_.setup, zoom_);
  if (wait_cursor_) {
    QApplication::restoreOverrideCursor();
    wait_cursor_ = false;
  }
  QDialog::done(QDialog::Accepted);
  return true;
}

void PrintPreview::Leave() {
  page_box_->clear();
  page_label_->clear();
  RequestClose();
}

void PrintPreview::reject() { Leave(); }

void PrintPreview::closeEvent(QCloseEvent* event) {
  page_box_->clear();
  page_label_->clear();
  if (RequestClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void PrintPreview::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ApplyFit();
}

bool PrintPreview::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool ctrl = modifiers & Qt::ControlModifier;
  const Qt::KeyboardModifiers plain = modifiers & ~Qt::KeypadModifier;
  if (ctrl) {
    switch (key) {
      case Qt::Key_Plus:
      case Qt::Key_Equal:
        ZoomIn(false);
        return true;
      case Qt::Key_Minus:
        ZoomOut(false);
        return true;
      case Qt::Key_Up:
        ScrollScreens(0, -1);
        return true;
      case Qt::Key_Down:
        ScrollScreens(0, 1);
        return true;
      case Qt::Key_Left:
        ScrollScreens(-1, 0);
        return true;
      case Qt::Key_Right:
        ScrollScreens(1, 0);
        return true;
      default:
        return false;
    }
  }
  if (plain != Qt::NoModifier) return false;
  switch (key) {
    case Qt::Key_Home:
      FirstPage();
      return true;
    case Qt::Key_End:
      LastPage();
      return true;
    case Qt::Key_PageDown:
      NextPage();
      return true;
    case Qt::Key_PageUp:
      PreviousPage();
      return true;
    case Qt::Key_F7:
      GoToPage();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      PrintSelectedPages();
      return true;
    case Qt::Key_Escape:
      Leave();
      return true;
    case Qt::Key_F10:
      ZoomToFit();
      return true;
    case Qt::Key_F11:
      Zoom100();
      return true;
    case Qt::Key_F12:
      ZoomToWidth();
      return true;
    default:
      return false;
  }
}

bool PrintPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    // A combo box's open list keeps its own keys.
    if (printer_box_->view() != nullptr && printer_box_->view()->isVisible()) {
      return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride) {
      // Claims the keys the page box would otherwise take for itself.
      const bool ours = key->key() == Qt::Key_Home || key->key() == Qt::Key_End ||
                        ((key->modifiers() & Qt::ControlModifier) &&
                         (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right));
      if (ours) event->accept();
      return false;
    }
    if (HandleKey(key->key(), key->modifiers())) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void PrintPreview::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  auto add = [&](const char* text, QKeySequence keys, std::function<void()> action) {
    QAction* entry = menu.addAction(QString::fromLatin1(text));
    entry->setShortcut(keys);
    connect(entry, &QAction::triggered, this, std::move(action));
  };
  add("Marire pagina",
      QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus)),
      [this] { ZoomIn(false); });
  add("Micsorare pagina",
      QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus)),
      [this] { ZoomOut(false); });
  add("Prima  pagina     ", QKeySequence(Qt::Key_Home), [this] { FirstPage(); });
  add("Ultima pagina", QKeySequence(Qt::Key_End), [this] { LastPage(); });
  add("Pagina urmatoare", QKeySequence(Qt::Key_PageDown), [this] { NextPage(); });
  add("Pagina anterioara", QKeySequence(Qt::Key_PageUp), [this] { PreviousPage(); });
  add("Defilare ecran in sus", QKeySequence(Qt::CTRL | Qt::Key_Up),
      [this] { ScrollScreens(0, -1); });
  add("Defilare ecran in jos", QKeySequence(Qt::CTRL | Qt::Key_Down),
      [this] { ScrollScreens(0, 1); });
  add("Defilare ecran la stanga", QKeySequence(Qt::CTRL | Qt::Key_Left),
      [this] { ScrollScreens(-1, 0); });
  add("Defilare ecran la dreapta", QKeySequence(Qt::CTRL | Qt::Key_Right),
      [this] { ScrollScreens(1, 0); });
  add("Salt la pagina dorita ", QKeySequence(Qt::Key_F7), [this] { GoToPage(); });
  add("Tiparire           ", QKeySequence(Qt::Key_Return), [this] { PrintSelectedPages(); });
  add("&Iesire", QKeySequence(Qt::Key_Escape), [this] { Leave(); });
  add("Zoom to Fit ", QKeySequence(Qt::Key_F10), [this] { ZoomToFit(); });
  add("Zoom 100% ", QKeySequence(Qt::Key_F11), [this] { Zoom100(); });
  add("Zoom to Width", QKeySequence(Qt::Key_F12), [this] { ZoomToWidth(); });
  menu.exec(event->globalPos());
}

void ShowPreview(const reports::Report& report, Prompter& prompter, QWidget* parent,
                 PreviewOptions options) {
  PrintPreview preview(prompter, std::move(options), parent);
  preview.SetReport(report);
  OpenMaximised(&preview);
  preview.exec();
}

}  // namespace traveno::ui
