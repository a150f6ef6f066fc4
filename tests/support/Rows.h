// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Rows of parameterised GoogleTest tables: each row struct has a `name`, which prints the row and
// names its test.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace corvane {

// In the tests' own unnamed namespace, where their row structs are, so that GoogleTest finds it.
namespace {
template <typename Row>
requires requires(const Row& row) {
  std::string_view(row.name);
}
void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}
}  // namespace

namespace testing {
struct RowName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    return std::string(info.param.name);
  }
};
}  // namespace testing

}  // namespace corvane
