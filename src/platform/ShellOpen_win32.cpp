// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Opening links through Windows' shell.
#include <windows.h>

#include <shellapi.h>

#include "ShellOpen.h"

namespace corvane {

bool openWithShell(const std::string& target) {
  const int size = static_cast<int>(target.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, target.data(), size, nullptr, 0);
  if (length <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, target.data(), size, wide.data(), length);
  // The shell may start the handler through COM; it asks for an apartment on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (SUCCEEDED(com)) CoUninitialize();
  return result > 32;  // values up to 32 are errors
}

}  // namespace corvane
