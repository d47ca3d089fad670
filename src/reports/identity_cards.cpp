#include "reports/identity_cards.h"

#include <memory>

#include "personnel/employees.h"

namespace traveno::reports {
namespace {

constexpr int kAcross = 4;
constexpr double kGap = 5;
constexpr double kCardHeight = 88;
// The photo's place: 100 x 115 pixels of a screen at 96 pixels an inch.
constexpr double kPhotoWidth = 100 * 25.4 / 96;
constexpr double kPhotoHeight = 115 * 25.4 / 96;

struct Card {
  personnel::PersonLine line;
  std::shared_ptr<const std::vector<unsigned char>> photo;  // null: no picture
};

struct CardData {
  std::vector<Card> cards;
  std::string employer;
};

Band CardBand(const std::string& employer, const Card& card, double width) {
  Band band(kCardHeight);
  band.Box({0, 0, width, kCardHeight}, 0.35);
  const double inner = width - 4;
  band.Text({2, 2, inner, 5}, employer, Font{9}.Bold(), Align::kCenter);
  band.Line(2, 8, width - 2, 8, 0.15);
  if (card.photo) {
    band.Picture({(width - kPhotoWidth) / 2, 10, kPhotoWidth, kPhotoHeight}, card.photo);
  }
  const double y = 12 + kPhotoHeight;
  band.Text({2, y, inner, 6}, "LEGITIMATIE", Font{12}.Bold(), Align::kCenter);
  band.Text({4, y + 8, inner - 2, 5}, "Marca: " + std::to_string(card.line.Marca), Font{9});
  band.Text({4, y + 13, inner - 2, 5}, card.line.Nume, Font{10}.Bold());
  band.Text({4, y + 18, inner - 2, 5}, card.line.Prenume, Font{10}.Bold());
  band.Text({4, y + 24, inner - 2, 5}, "CNP: " + card.line.CodNumPers, Font{9});
  return band;
}

}  // namespace

Report IdentityCardList(const DocumentContext& context, std::vector<personnel::PersonLine> lines) {
  params::Session& session = context.session;
  auto data = std::make_shared<CardData>();
  data->employer = EmployerName(session);
  for (personnel::PersonLine& line : lines) {
    Card card{std::move(line), nullptr};
    if (std::optional<Blob> photo = personnel::LoadEmployeePhoto(session, card.line.IID)) {
      if (!photo->empty()) card.photo = std::make_shared<const Blob>(std::move(*photo));
    }
    data->cards.push_back(std::move(card));
  }
  Report report;
  report.title = kIdentityCardsTitle;
  report.setup = PageSetup::A4(Orientation::kLandscape);
  report.lay_out = [data](PageComposer& composer) {
    const PageSetup& setup = composer.setup();
    const double width = (setup.content_width() - (kAcross - 1) * kGap) / kAcross;
    const int rows = static_cast<int>((setup.content_bottom() - setup.content_top() + kGap) /
                                      (kCardHeight + kGap));
    const int per_page = kAcross * std::max(rows, 1);
    int slot = 0;
    for (const Card& card : data->cards) {
      if (composer.cancelled()) return;
      if (slot == per_page) {
        composer.BreakPage();
        slot = 0;
      }
      const double x = setup.content_left() + (slot % kAcross) * (width + kGap);
      const double y = setup.content_top() + (slot / kAcross) * (kCardHeight + kGap);
      composer.Place(CardBand(data->employer, card, width), x, y);
      ++slot;
    }
  };
  return report;
}

Report IdentityCardList(const DocumentContext& context) {
  return IdentityCardList(context, personnel::IdentityCards(context.session));
}

}  // namespace traveno::reports
