#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "data/packet.h"

namespace tamboro {

class Table;

// The name a field's values carry in ROW elements: the field name itself,
// or with the characters an attribute name cannot hold replaced by "_", or
// "xF" and the field's position when the name holds a double-byte
// character. needsFieldName tells whether FIELD must also carry the name.
std::string attrNameOf(std::string_view sjisName, size_t position, bool& needsFieldName);

// Appends value text escaped for an attribute, stepping over double-byte
// characters so that their second bytes are never escaped.
void appendEscaped(std::string_view sjis, std::string& out);

// Serialises a packet as one line. With logging off only current rows are
// written, without RowState; with logging on every row but those removed
// without a log, with their status, and the change log as CHANGE_LOG.
std::string writePacket(const Packet& packet, bool logging);
std::string writePacket(const Table& table);

}  // namespace tamboro
