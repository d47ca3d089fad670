// The renderer against the document model: texts drawn exactly as wide as
// the documents reckon when they size their columns, texts kept inside their
// boxes, and characters the faces lack still drawn.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <string>

#include "reports/text_width.h"
#include "ui/document_painter.h"

namespace traveno::ui {
namespace {

using reports::Align;
using reports::Font;

class DocumentRenderingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureGuiApplication(); }

  // A white page of 100 x 30 mm at `pixels_per_mm`.
  static QImage Blank(double pixels_per_mm) {
    QImage image(static_cast<int>(100 * pixels_per_mm), static_cast<int>(30 * pixels_per_mm),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
  }

  // The leftmost and rightmost columns holding ink, in millimetres.
  static std::pair<double, double> InkColumns(const QImage& image, double pixels_per_mm) {
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 128) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    return {left / pixels_per_mm, (right + 1) / pixels_per_mm};
  }
};

TEST_F(DocumentRenderingTest, TextsAreDrawnAsWideAsTheDocumentsReckon) {
  const char* const kTexts[] = {
      "1 234 567 890 ",
      "0 ",
      "-98 240,75 ",
      "25%",
      " POPESCU ION",
      "Salariu realizat tarifar",
      "Ștefănescu Țării Â Î",
      "(a/b) = c; x_y",
      "MWmw il1|",
  };
  const Font kFonts[] = {Font{6.5}, Font{6.5}.Bold(), Font{8}, Font{11}.Bold(), Font{5.5}};
  QImage device = Blank(12);
  DocumentPainter painter;
  for (const double pixels_per_mm : {3.78, 47.24}) {
    for (const Font& font : kFonts) {
      for (const char* text : kTexts) {
        // Never wider than reckoned (the columns sized for it hold it); at a
        // screen's small sizes the face's size is set in whole fractions of
        // a pixel, a few thousandths narrower.
        const double drawn = painter.TextWidth(font, text, pixels_per_mm, &device) / pixels_per_mm;
        const double reckoned = reports::TextWidth(text, font);
        EXPECT_LE(drawn, reckoned * 1.001)
            << text << " at " << font.size << " pt, " << pixels_per_mm;
        EXPECT_GE(drawn, reckoned * 0.995)
            << text << " at " << font.size << " pt, " << pixels_per_mm;
      }
    }
  }
}

TEST_F(DocumentRenderingTest, AFigureIsDrawnWithinItsBoxAndAWiderTextIsCondensedIntoIt) {
  const double scale = 12;
  const Font font{8};
  struct Case {
    const char* text;
    double box_width;
    Align align;
  };
  const Case kCases[] = {
      {"1 234 567 ", 40, Align::kRight},
      {"Contributia de sanatate aferenta concediilor medicale", 30, Align::kLeft},
      {"CENTRU", 30, Align::kCenter},
  };
  for (const Case& c : kCases) {
    QImage image = Blank(scale);
    reports::Page page;
    page.AddText({20, 10, c.box_width, 6}, c.text, font, c.align);
    {
      QPainter painter(&image);
      DocumentPainter().PaintPage(painter, page, scale);
    }
    const auto [left, right] = InkColumns(image, scale);
    ASSERT_LT(left, right) << c.text << ": nothing drawn";
    EXPECT_GE(left, 20 - 0.1) << c.text;
    EXPECT_LE(right, 20 + c.box_width + 0.1) << c.text;
    if (c.align == Align::kRight) {
      // The trailing blank is drawn as room, not ink, before the box's edge.
      EXPECT_NEAR(right, 20 + c.box_width - reports::TextWidth(" ", font), 0.5) << c.text;
    }
  }
}

TEST_F(DocumentRenderingTest, ACharacterTheFaceLacksIsStillDrawn) {
  const double scale = 12;
  QImage image = Blank(scale);
  reports::Page page;
  page.AddText({5, 5, 90, 10}, "Σ \u2211 \u4e2d", Font{10});
  {
    QPainter painter(&image);
    DocumentPainter().PaintPage(painter, page, scale);
  }
  const auto [left, right] = InkColumns(image, scale);
  EXPECT_LT(left, right);
}

}  // namespace
}  // namespace traveno::ui
