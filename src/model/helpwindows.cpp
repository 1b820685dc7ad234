#include "model/helpwindows.h"

#include <string>

#include "util/binio.h"
#include "util/errors.h"
#include "util/helpunits.h"

namespace qm {

TWindowDef& TWindows::Add() {
    auto w = std::make_unique<TWindowDef>();
    ScreenSize screen = Screen().screenSize();
    // Centred on the screen; integer division toward zero.
    w->X = screen.width / 2 - 300;
    w->Y = screen.height / 2 - 240;
    items_.push_back(std::move(w));
    return *items_.back();
}

std::size_t TWindows::checkedIndex(int i, bool belowTwoIsFirst) const {
    if (belowTwoIsFirst && i < 2 && !items_.empty()) return 0;
    if (i < 1 || i > Count()) throw Error("Window index out of range (" + std::to_string(i) + ").");
    return static_cast<std::size_t>(i - 1);
}

TWindowDef& TWindows::GetWindow(int i) { return *items_[checkedIndex(i, true)]; }

const TWindowDef& TWindows::GetWindow(int i) const { return *items_[checkedIndex(i, true)]; }

bool TWindows::NameExists(std::string_view name) const {
    for (const auto& w : items_)
        if (SameText(w->GetName(), name)) return true;
    return false;
}

void TWindows::Delete(int i) {
    std::size_t at = checkedIndex(i, false);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(at));
}

void TWindows::Assign(const TWindows& source) {
    if (this == &source) return;
    std::vector<std::unique_ptr<TWindowDef>> copy;
    copy.reserve(source.items_.size());
    for (const auto& w : source.items_) copy.push_back(std::make_unique<TWindowDef>(*w));
    items_ = std::move(copy);
}

void TWindows::Clear() { items_.clear(); }

void TWindows::ReadWindow(BinaryReader& r, int i) {
    TWindowDef& w = *items_[checkedIndex(i, false)];
    r.readFixedInto(w.Name.data(), w.Name.width);
    r.readFixedInto(w.Caption.data(), w.Caption.width);
    w.Attributes = r.readByte();
    w.AdjustRes = r.readByte();
    w.X = r.readInt32();
    w.Y = r.readInt32();
    w.W = r.readInt32();
    w.H = r.readInt32();
    w.Buttons = r.readByte();
    w.NoDefaultButtons = r.readByte() != 0;
    w.Rgb1 = r.readUInt32();
    w.Rgb2 = r.readUInt32();
    r.readStrings(w.Macros);
}

void TWindows::WriteWindow(BinaryWriter& wr, int i) const {
    const TWindowDef& w = *items_[checkedIndex(i, false)];
    wr.writeBytes(std::string_view(w.Name.data(), w.Name.width));
    wr.writeBytes(std::string_view(w.Caption.data(), w.Caption.width));
    wr.writeByte(w.Attributes);
    wr.writeByte(w.AdjustRes);
    wr.writeInt32(w.X);
    wr.writeInt32(w.Y);
    wr.writeInt32(w.W);
    wr.writeInt32(w.H);
    wr.writeByte(w.Buttons);
    wr.writeByte(w.NoDefaultButtons ? 1 : 0);
    wr.writeUInt32(w.Rgb1);
    wr.writeUInt32(w.Rgb2);
    wr.writeStrings(w.Macros);
}

}  // namespace qm
