// The undo history: up to 100 whole-canvas snapshots and the position among them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/image_store.h"

namespace lumipad {

class Ui;

class History {
  public:
    static constexpr int kSlotCount = 100;

    History(ImageStore& images, Drawing& drawing, Ui& ui);
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // "UNDO", "REDO", "SAVE", "SET0" or "RESET", in any case; anything else only refreshes the
    // undo counter, as every call does.
    void runHistoryCommand(std::string_view command);

    std::int64_t index() const { return index_; }
    ImageId slot(int i) const { return slots_[static_cast<std::size_t>(i)]; }

  private:
    void undo();
    void redo();
    void record(bool startOver);
    void reset();
    void restore(ImageId snapshot);
    void freeSlot(int i);
    void refreshCounter();

    ImageStore& images_;
    Drawing& drawing_;
    Ui& ui_;
    std::array<ImageId, kSlotCount> slots_;
    std::int64_t index_ = 0;
};

}  // namespace lumipad
