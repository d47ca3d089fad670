// A company opened on January 2003 with helpers to add employee rows, set
// parameters and read the prepared pages of a document back as texts.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "params/departments.h"
#include "params/parameter_store.h"
#include "reports/document_text.h"
#include "reports/page_composer.h"
#include "reports/report_common.h"
#include "tests/params/fixture.h"

namespace traveno::reports::testing {

using params::testing::D;

class DocumentsFixture : public params::testing::StoreFixture {
 protected:
  void SetUp() override { Open("FIRMA", D(2003, 1)); }

  Date month() const { return session_->working_month(); }

  DocumentContext Context() {
    PrintStamp stamp;
    stamp.date = D(2003, 2, 3);
    stamp.hour = 9;
    stamp.minute = 5;
    return DocumentContext{*session_, stamp};
  }

  // An employee row of the working month; IID and MARCA follow the order of
  // the calls.
  PersRow Employee(const std::string& nume, const std::string& tip = "1",
                   const std::string& depart = "CENTRAL") {
    PersRow row;
    row.NUME = nume;
    row.PRENUME = "ION";
    row.TIP = tip;
    row.Depart = depart;
    row.IID = ++people_;
    row.MARCA = people_;
    row.NORMA = 8;
    return row;
  }
  PersRow Add(PersRow row) { return AddEmployee(std::move(row)); }

  void AddDepartment(const std::string& code) {
    ASSERT_TRUE(params::AddDepartment(*session_, code, code, prompter_));
  }
  void SetCompany(std::string_view name, double value) {
    params::WriteCompany(db(), month(), name, value);
    session_->LoadParameters();
  }
  void SetCompanyText(std::string_view name, std::string_view text) {
    params::WriteCompanyText(db(), month(), name, text);
    session_->LoadParameters();
  }
  void SetGeneral(std::string_view name, double value) {
    params::WriteGeneral(db(), month(), name, value);
    session_->LoadParameters();
  }

  // The text lines of every page.
  static std::vector<std::vector<std::string>> PageTexts(const Document& document) {
    std::vector<std::vector<std::string>> pages;
    for (const Page& page : document.pages) pages.push_back(PageLines(page));
    return pages;
  }
  static std::vector<std::vector<std::string>> PageTexts(const std::optional<Report>& report) {
    EXPECT_TRUE(report.has_value());
    return report ? PageTexts(Prepare(*report)) : std::vector<std::vector<std::string>>{};
  }

  // A line with its runs of blanks made one blank and the ends trimmed, so
  // that checks do not depend on the columns' exact places.
  static std::string Squeezed(const std::string& line) {
    std::string squeezed;
    for (char c : line) {
      if (c == ' ' && (squeezed.empty() || squeezed.back() == ' ')) continue;
      squeezed.push_back(c);
    }
    if (!squeezed.empty() && squeezed.back() == ' ') squeezed.pop_back();
    return squeezed;
  }

  // The first line (squeezed) holding `text`; empty when none does.
  static std::optional<std::string> LineWith(const std::vector<std::string>& lines,
                                             std::string_view text) {
    for (const std::string& line : lines) {
      std::string squeezed = Squeezed(line);
      if (squeezed.find(text) != std::string::npos) return squeezed;
    }
    return std::nullopt;
  }
  static bool AnyLineHas(const std::vector<std::vector<std::string>>& pages,
                         std::string_view text) {
    for (const auto& page : pages) {
      if (LineWith(page, text)) return true;
    }
    return false;
  }
  // The page (from 0) on which `text` first appears; -1 when it does not.
  static int PageOf(const std::vector<std::vector<std::string>>& pages, std::string_view text) {
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (LineWith(pages[i], text)) return static_cast<int>(i);
    }
    return -1;
  }
  // The text items of a page that equal `text`.
  static std::vector<const TextItem*> Items(const Page& page, std::string_view text) {
    std::vector<const TextItem*> items;
    for (const TextItem& item : page.texts) {
      if (item.text == text) items.push_back(&item);
    }
    return items;
  }

  int people_ = 0;
};

}  // namespace traveno::reports::testing
