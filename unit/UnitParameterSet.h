#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "model/ParameterSet.h"
#include "unit/catalogue/Catalogue.h"

// The QZ347's parameter set: the whole catalogue, the poll schedule of its
// status groups, the refresh rotation, the preset names kept apart, the rules
// between parameters and the unit's own formatters.
class UnitParameterSet : public ParameterSet {
public:
    // The protocol must answer at once: construction reads every control parameter.
    // Online is true for the TCP/IP and serial links, false off line.
    UnitParameterSet(GenericProtocol* protocol, bool online);
    ~UnitParameterSet() override;

    UnitParameterSet(const UnitParameterSet&) = delete;
    UnitParameterSet& operator=(const UnitParameterSet&) = delete;

    // One step of the rotation: all control parameters, then the first 16
    // preset names, then the last 16, on a counter shared by every set.
    void refresh() override;
    void attachControlObserver(const ParameterId& id, Observer<ControlParameter>* observer) override;
    void exportText(std::ostream& out, const std::string& title) override;
    virtual void exportGroupsHtml(std::ostream& out, const std::string& title);

    ControlParameterMap& presetNameMap(int which) { return presetNames_[which]; }

    // The program-wide rotation counter, for tests that follow the rotation.
    static uint32_t rotationCounter();

protected:
    virtual void defineParameters();
    void definePresetNameMaps();
    void definePollSchedule();
    void defineDependencyRules();
    void defineOnlineRules(bool online);
    void defineCustomFormatters();

    // The definition pattern over the rows first..last of a group's table.
    void define(const GroupCatalogue& group, int first, int last);

    void defineParameters0100();
    void defineParameters0300();
    void defineParameters030A();
    void defineParameters0314();
    void defineParameters0500();
    void defineParameters050A();
    void defineParameters0514();
    void defineParameters0700();
    void defineParameters070A();
    void defineParameters0900();
    void defineParameters090A();
    void defineParameters0B00();
    void defineParameters0B0A();
    void defineParameters0D00();
    void defineParameters0F00();
    void defineParameters0F0A();
    void defineParameters1100();
    void defineParameters110A();
    void defineParameters1300();
    void defineParameters1500();
    void defineParameters150A();
    void defineParameters1514();
    void defineParameters151E();
    void defineParameters1528();
    void defineParameters1700();
    void defineParameters1900();
    void defineParameters1B00();
    void defineParameters1D00();
    void defineParameters1D0A();
    void defineParameters1D14();
    void defineParameters1D1E();
    void defineParameters1F00();
    void defineParameters1F0A();
    void defineParameters1F14();
    void defineParameters1F1E();
    void defineParameters1F28();
    void defineParameters2100();
    void defineParameters210A();
    void defineParameters2114();
    void defineParameters211E();
    void defineParameters2128();
    void defineParameters2132();
    void defineParameters2300();
    void defineParameters2500();
    void defineParameters2700();
    void defineParameters270A();
    void defineParameters2900();
    void defineParameters290A();
    void defineParameters2B00();
    void defineParameters2B0A();
    void defineParameters2D00();
    void defineParameters3300();
    void defineParameters3500();
    void defineParameters3700();
    void defineParameters3D00();
    void defineParameters4300();

    std::array<ControlParameterMap, 2> presetNames_;
};
