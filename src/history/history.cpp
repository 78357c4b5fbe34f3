#include "history/history.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "app/controls.h"
#include "app/ui.h"

namespace lumipad {

namespace {
constexpr int kLast = History::kSlotCount - 1;
}

History::History(ImageStore& images, Drawing& drawing, Ui& ui)
    : images_(images), drawing_(drawing), ui_(ui) {
    slots_.fill(kNullImage);
}

void History::runHistoryCommand(std::string_view command) {
    std::string word(command);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (word == "UNDO") {
        undo();
    } else if (word == "REDO") {
        redo();
    } else if (word == "SAVE" || word == "SET0") {
        record(word == "SET0");
    } else if (word == "RESET") {
        reset();
    }
    refreshCounter();
}

void History::undo() {
    if (index_ <= 0) return;
    --index_;
    restore(slots_[static_cast<std::size_t>(index_)]);
}

void History::redo() {
    if (index_ < 0 || index_ >= kLast) return;
    const ImageId next = slots_[static_cast<std::size_t>(index_ + 1)];
    if (!images_.exists(next)) return;
    ++index_;
    restore(next);
}

void History::record(bool startOver) {
    if (index_ == kLast) {
        // Full: the oldest state makes room, whether or not the new snapshot can be made.
        freeSlot(0);
        std::move(slots_.begin() + 1, slots_.end(), slots_.begin());
        slots_[kLast] = kNullImage;
        index_ = kLast - 1;
    }
    // A black 480 × 480 image holding the canvas's top-left pixels.
    const ImageId snapshot =
        images_.createHandleCopy(kPictureSize, kPictureSize, drawing_.canvasImage());
    if (snapshot == kNullImage) return;
    index_ = startOver ? 0 : index_ + 1;
    freeSlot(static_cast<int>(index_));
    slots_[static_cast<std::size_t>(index_)] = snapshot;
    for (int i = static_cast<int>(index_) + 1; i < kSlotCount; ++i) freeSlot(i);
}

void History::reset() {
    for (int i = 0; i < kSlotCount; ++i) freeSlot(i);
    index_ = 0;
}

void History::restore(ImageId snapshot) {
    const Raster* pixels = images_.get(snapshot);
    if (pixels == nullptr) return;
    if (!drawing_.beginDrawing(Target::canvas())) return;
    drawing_.blitImage(*pixels, 0, 0);
    drawing_.endDrawing();
}

void History::freeSlot(int i) {
    ImageId& slot = slots_[static_cast<std::size_t>(i)];
    if (slot == kNullImage) return;
    images_.free(slot);
    slot = kNullImage;
}

void History::refreshCounter() { ui_.setText(kUndoCounter, std::to_string(index_)); }

}  // namespace lumipad
