#pragma once

// Text ids of the messages the module shows, in one place: the window, the command-line tool
// and the tests name a message, never its number.
namespace MessageId {

// Causals.
inline constexpr int ReservedDelete = 63436;
inline constexpr int ReservedCreate = 63437;
inline constexpr int NotNumeric = 63438;
inline constexpr int Exists = 63439;
inline constexpr int UsedAsCompensation = 63442;
inline constexpr int TooLong = 63444;
inline constexpr int DuplicationDone = 23643;
inline constexpr int ChangedByAnotherUser = 995250;
inline constexpr int DeletedByAnotherUser = 995260;
inline constexpr int AlreadyDeleted = 995261;
inline constexpr int CopyOfDeleted = 995262;
inline constexpr int CausalMissing = 995263;

// Parameters and their ledger checks.
inline constexpr int Mandatory = 995202;
inline constexpr int CompensationMissing = 63443;
inline constexpr int AccountsMissing = 63445;
inline constexpr int CurrencyWithholding = 85466;
inline constexpr int VatRegister = 63441;
inline constexpr int NotClosing = 85464;
inline constexpr int NotUnpaid = 85465;
inline constexpr int NoAdvance = 64221;
inline constexpr int WithholdingCausal = 63446;
inline constexpr int PaymentTerms = 61655;
inline constexpr int NoSection = 61656;
inline constexpr int ReservedSection = 61665;
inline constexpr int NotPostable = 61824;
inline constexpr int AccountMissing = 15793;
inline constexpr int CheckTheCode = 15792;
inline constexpr int NoLegend = 62744;
inline constexpr int HeldCorrections = 995270;
inline constexpr int NotANumber = 995271;
inline constexpr int LegendTooLong = 995280;
inline constexpr int LegendFieldLocked = 995281;
inline constexpr int InvalidCode = 995282;
inline constexpr int CodeMissing = 995283;
inline constexpr int OtherCompanyIncomplete = 995284;
inline constexpr int NoValue = 995285;
// Values the window's controls cannot hold, and a posting row of another account group.
inline constexpr int ValueNotOffered = 995310;
inline constexpr int ValueTooLong = 995311;
inline constexpr int GroupNotCompany = 995312;

// Selection checks.
inline constexpr int ChangeDefaultChecks = 44628;

// Layout.
inline constexpr int NoField = 63434;
inline constexpr int FieldPresent = 63435;
inline constexpr int RemoveField = 14676;

// Exclusions.
inline constexpr int NoGroupNorUser = 995201;
inline constexpr int RepeatedGroup = 995264;
inline constexpr int RepeatedUser = 995265;

// Host.
inline constexpr int CompanyChangeRefused = 30179;
inline constexpr int ClassError = 76382;

} // namespace MessageId
