#pragma once
// VSQX scores (roots "vsq3" and "vsq4") into new projects with their audio
// parts.
#include <cstdint>
#include <memory>
#include <string>

#include "model/current/HalvorenModel.h"
#include "model/import/ImportBudget.h"
#include "platform/CString.h"

class CVsqxParser;
class TiXmlElement;

// Reads the score into a new model sung by the named singer; null when the
// file cannot be read as XML, its root is neither "vsq3" nor "vsq4", it has
// no master track or its shifted positions do not fit, and when it is too
// large to read or to import, which refusal then tells with the sizes. The
// wav parts share one clip per audio file and one budget for all; a part
// whose audio cannot be loaded is kept without sound, its clipLoad saying
// why.
std::unique_ptr<HVCurrentModel::HalvorenModel> loadVsqx(const CString& path, const std::string& singerName,
                                                        ImportRefusal* refusal = nullptr);

// The model of a parsed score (see loadVsqx) of a file of fileBytes bytes,
// which bound what the import may build.
std::unique_ptr<HVCurrentModel::HalvorenModel> buildModelFromVsqx(CVsqxParser& parser, TiXmlElement* root,
                                                                  const std::string& singerName,
                                                                  const CString& path, uint64_t fileBytes,
                                                                  ImportRefusal* refusal = nullptr);
