#pragma once
// The object model of the HYSYS stand-in, built over one case:
//
//   Application        Version, Name, ActiveDocument (Empty with no case)
//   SimulationCase     Flowsheet, Title, FullName
//   Flowsheet          Operations([type name]) - all operations, or those of
//                      one type such as "ColumnOp"
//   Operations         Count, Item(index from 0 | name)
//   Operation          Name, TypeName, ColumnFlowsheet (column operations)
//   ColumnFlowsheet    ColumnStages, Name
//   Stages             Count, Item(index from 0 | name)
//   Stage              Name, SeparationStage
//   SeparationStage    Vapour, Liquid (the streams leaving the stage)
//   ProcessStream      Name, MassFlow (kg/s), MassDensity (kg/m3),
//                      VapourPhase, LightLiquidPhase
//   Phase              Viscosity (cP), SurfaceTension (dyn/cm), MassDensity
//
// Member names are matched without regard to case. Asking for something the
// case does not hold is an automation error that says what is missing.

#include <memory>
#include <string>

#include "AutoObject.h"
#include "HysysServerCase.h"

class HysysObject : public AutoDispatch
{
public:
    explicit HysysObject(std::string className) : className_(std::move(className)) {}
    std::string ClassName() const override { return className_; }

    using AutoDispatch::AddMethod;
    using AutoDispatch::AddProperty;
    using AutoDispatch::Given;
    using AutoDispatch::Required;

private:
    std::string className_;
};

inline constexpr const char* kHysysStandInVersion = "velk-hysys 1.0";

// The application object; activeCase may be null (no case open).
AutoObjectPtr MakeHysysApplication(std::shared_ptr<const HysysCaseData> activeCase);
