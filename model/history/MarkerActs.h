#pragma once
// Records of tempo and beat markers in the model's sorted marker lists.
#include "model/current/HalvorenModel.h"
#include "model/history/CommonActs.h"

using HVCurrentModel::Beat;
using HVCurrentModel::HalvorenModel;
using HVCurrentModel::Tempo;

class CInsertTempoAct : public CommonInsertAct<Tempo, HalvorenModel> {
public:
    using CommonInsertAct::CommonInsertAct;
    void undo() override { HVCurrentModel::eraseMarker(container->tempos, element); }
    void redo() override { HVCurrentModel::insertMarkerSorted(container->tempos, element); }
};

class CDeleteTempoAct : public CommonDeleteAct<Tempo, HalvorenModel> {
public:
    using CommonDeleteAct::CommonDeleteAct;
    void undo() override { HVCurrentModel::insertMarkerSorted(container->tempos, element); }
    void redo() override { HVCurrentModel::eraseMarker(container->tempos, element); }
};

class CEditTempoAct : public CommonEditAct<Tempo> {
public:
    using CommonEditAct::CommonEditAct;
};

class CInsertBeatAct : public CommonInsertAct<Beat, HalvorenModel> {
public:
    using CommonInsertAct::CommonInsertAct;
    void undo() override { HVCurrentModel::eraseMarker(container->beats, element); }
    void redo() override { HVCurrentModel::insertMarkerSorted(container->beats, element); }
};

class CDeleteBeatAct : public CommonDeleteAct<Beat, HalvorenModel> {
public:
    using CommonDeleteAct::CommonDeleteAct;
    void undo() override { HVCurrentModel::insertMarkerSorted(container->beats, element); }
    void redo() override { HVCurrentModel::eraseMarker(container->beats, element); }
};

class CEditBeatAct : public CommonEditAct<Beat> {
public:
    using CommonEditAct::CommonEditAct;
};
