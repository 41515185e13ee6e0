#include "model/document/LiveNote.h"

void createLiveNote(HVCurrentModel::Note*& slot, int& slotSegPos, int playPos, int segPos, int key) {
    if (slot) return;
    slotSegPos = segPos;
    slot = new HVCurrentModel::Note();
    slot->pos = playPos - segPos;
    slot->key = key;
    slot->width = 3;
}
