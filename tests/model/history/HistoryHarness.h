#pragma once
// A model with its own history, for driving recorders without a document.
#include <memory>

#include "model/history/HistoryMgr.h"
#include "support/model_document/ProjectBuilder.h"

struct HistoryHarness {
    std::unique_ptr<HVCurrentModel::HalvorenModel> model = projtest::markersOnly();
    CHistoryMgr history;  // declared after the model: released before it
    HistoryViewState viewState;

    // Runs record on a new group, pushed when it recorded anything.
    template <class Fn>
    CHistoryGroup* run(Fn&& record) {
        auto* g = new CHistoryGroup(model.get());
        record(g);
        if (g->recCount() == 0) {
            delete g;
            return nullptr;
        }
        history.push(g);
        return g;
    }
    void undo() { history.undo(viewState); }
    void redo() { history.redo(viewState); }
};
