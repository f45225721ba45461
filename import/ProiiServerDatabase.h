#pragma once
// An open simulation database of the PRO/II database server stand-in, as
// returned by the server's OpenDatabase. Its members:
//
//   Status                                  errors and warnings of the run
//   GetObjectCount(class)                   "Column" or "Stream"
//   GetObjectNames(class, index)            name of the index-th object (from 0)
//   CalculateUnitProps(unit)                calculates a column's unit results,
//                                           needed before its Column or ColumnIn
//                                           is activated
//   ActivateObject(class, name)             "Column", "ColumnIn", "Stream",
//                                           "SrBulkProp": an object answering
//                                           GetAttribute
//   CreateObject("Stream", name)            an empty stream (replacing one of
//                                           that name, so an earlier read that
//                                           failed half-way does not block)
//   CopyTrayToStream(column, tray, phase, 0, 2, stream)
//                                           phase 1 vapour, 2 liquid leaving
//                                           the tray; 0 = the tray's net
//                                           product, 2 = rate and conditions
//   CalculateStreamProps(stream)            bulk properties of the stream
//   DeleteObject("Stream", name)
//
// Any other member is an automation error. The file is read once when it is
// opened; streams live in memory and are never written back.

#include <map>
#include <memory>
#include <set>
#include <string>

#include "AutoObject.h"
#include "ProiiServerFile.h"
#include "ProiiServerObjects.h"

class ProiiServerDatabase : public AutoDispatch
{
public:
    ProiiServerDatabase(SimulationData data, std::string path,
                        std::shared_ptr<const ProiiServerOptions> options);
    std::string ClassName() const override { return "Database"; }

    const SimulationData& Data() const { return data_; }
    // Names of the streams that exist now (the feeds and those created).
    int StreamCount() const;

private:
    const SimColumn& Column(const AutoVariant& name, const std::string& member) const;
    std::shared_ptr<ProiiStreamData> Stream(const AutoVariant& name, const std::string& member) const;
    static std::string ObjectClass(const AutoVariant& v, const std::string& member);

    SimulationData data_;
    std::string path_;
    std::shared_ptr<const ProiiServerOptions> options_;
    std::map<std::string, std::shared_ptr<ProiiStreamData>> streams_; // folded name -> stream
    std::set<std::string> unitPropsDone_;                             // folded column names
};
