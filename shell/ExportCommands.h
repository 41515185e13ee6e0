#pragma once
// The main frame's export commands, "Mixdown to file" and "Export each
// track". Both start at measure 1, sing every chosen segment with its
// synthesizer (taken off any track chain, so that the export alone decides
// what runs) and ask through the export dialogs.
class CSSSynthesizerDoc;
class IExportUi;
class SegmentSynthMgr;

enum class ExportOutcome {
    done,       // the file(s) were written, or there was nothing to write
    stopped,    // a dialog was cancelled, or the project is playing
    refused,    // the checks before singing failed
    failed,     // a file could not be written, or replacing was declined
    cancelled,  // the progress was cancelled
};

ExportOutcome mixdownToFile(CSSSynthesizerDoc& doc, SegmentSynthMgr& synths, IExportUi& ui);
ExportOutcome exportEachTrack(CSSSynthesizerDoc& doc, SegmentSynthMgr& synths, IExportUi& ui);
