#pragma once
// The main frame's export commands, "Mixdown to file" and "Export each
// track". Both start at measure 1, sing every chosen segment with its
// synthesizer (taken off any track chain, so that the export alone decides
// what runs) and ask through the export dialogs. The notes the singer's bank
// has no voice for, and the segments it cannot sing, are reported.
class CSSSynthesizerDoc;
class IExportUi;
class SegmentSynthMgr;

enum class ExportOutcome {
    done,       // the file(s) were written
    stopped,    // a dialog was cancelled, or the project is playing
    refused,    // the checks before singing failed
    unsung,     // an output would hold no sung note (and no clip): not written
    failed,     // a file could not be written, a segment could not be sung,
                // or replacing was declined
    cancelled,  // the progress was cancelled
};

ExportOutcome mixdownToFile(CSSSynthesizerDoc& doc, SegmentSynthMgr& synths, IExportUi& ui);
ExportOutcome exportEachTrack(CSSSynthesizerDoc& doc, SegmentSynthMgr& synths, IExportUi& ui);
