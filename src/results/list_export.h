#pragma once
// The results list written out as a spreadsheet reads it: comma- or
// tab-separated text in UTF-8 with its byte-order mark (without it some
// spreadsheet programs read the bytes in their own legacy code page and
// garble every name in another script), a header line and one line a row,
// each ended by CR LF.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

class CAppData;

enum class ListFormat { Csv, Tsv };

// The program's text (the process code page) as UTF-8.
using ToUtf8Function = std::function<std::string(std::string_view)>;

// The rows `rows` (store rows, in the order they are to appear) as one text:
// Location, Name, Type, Size (bytes, exact) and the tested time as local ISO
// 8601 with a four-digit year, under the header `dateHeader`. CSV follows
// RFC 4180: a field that holds a comma, a quote or a line break goes in
// quotes with its quotes doubled. The tab-separated form quotes the same way
// a field that holds a tab, a quote or a line break.
std::string FormatResultList(const CAppData& store, std::span<const int32_t> rows,
                             ListFormat format, std::string_view dateHeader,
                             const ToUtf8Function& toUtf8);

// One field as the format writes it.
std::string QuoteField(std::string_view field, ListFormat format);
