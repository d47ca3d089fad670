// The field lists of the yearly e-filing tables, passed to
// CreateDbfTable exactly as the tax authority's layouts give them (the blank
// before "Alte_sit" included): the names, order, types and widths of the
// fields are the layouts themselves. Never change them.
#pragma once

namespace traveno::declarations {

// The employer: REP_<year>.DBF.
inline constexpr const char* kRepDbfSpec =
    "Cod_ang N(13,0),Tip_ang N(1,0),Denumire C(160),Nume C(40),Prenume C(40),"
    "Localitate C(50),Judet C(20),Strada C(50),Nr C(10),Cod_postal N(6,0),Bloc C(10),"
    "Scara C(10),Etaj C(10),Ap C(10),Sector N(1,0),Telefon C(10),Email C(50)";

// The fiscal sheet of each permanent employee: FF1_<year>.DBF.
inline constexpr const char* kFf1DbfSpec =
    "Cnp_ang N(13),Nume C(40),Prenume C(40),Localitate C(50),Judet C(20),"
    "Strada C(50),Nr C(10),Cod_postal N(6),Bloc C(10),Scara C(10),Etaj C(10),"
    "Ap C(10),Sector N(1),Rectific C(1),Regulariz C(1),Fara_dom C(1),Alte_surse C(1),"
    "Invalid_I C(1),Invalid_II C(1), Alte_sit C(1),Data_angaj D(10),Data_incet D(10),"
    "Coef_T_01 N(4,2),Coef_T_02 N(4,2),Coef_T_03 N(4,2),Coef_T_04 N(4,2),"
    "Coef_T_05 N(4,2),Coef_T_06 N(4,2),Coef_T_07 N(4,2),Coef_T_08 N(4,2),"
    "Coef_T_09 N(4,2),Coef_T_10 N(4,2),Coef_T_11 N(4,2),Coef_T_12 N(4,2),"
    "Coef_P_01 N(4,2),Coef_P_02 N(4,2),Coef_P_03 N(4,2),Coef_P_04 N(4,2),"
    "Coef_P_05 N(4,2),Coef_P_06 N(4,2),Coef_P_07 N(4,2),Coef_P_08 N(4,2),"
    "Coef_P_09 N(4,2),Coef_P_10 N(4,2),Coef_P_11 N(4,2),Coef_P_12 N(4,2),"
    "Venit_01 N(12),Impozit_01 N(12),Venit_02 N(12),Impozit_02 N(12),Venit_03 N(12),"
    "Impozit_03 N(12),Venit_04 N(12),Impozit_04 N(12),Venit_05 N(12),"
    "Impozit_05 N(12),Venit_06 N(12),Impozit_06 N(12),Venit_07 N(12),"
    "Impozit_07 N(12),Venit_08 N(12),Impozit_08 N(12),Venit_09 N(12),"
    "Impozit_09 N(12),Venit_10 N(12),Impozit_10 N(12),Venit_11 N(12),"
    "Impozit_11 N(12),Venit_12 N(12),Impozit_12 N(12),Venit_13 N(12),"
    "Impozit_13 N(12),Venit_14 N(12),Impozit_14 N(12),Nr_luni N(2),Ch_acord N(12),"
    "Ch_cuven N(12),Venit_rec N(12),Deduceri N(12),Venit_baza N(12),Imp_anual N(12),"
    "Dif_plata N(12),Dif_restit N(12),Venit_fin N(12),Imp_fin N(12),Venit_scut N(12)";

// The fiscal sheet of each partial-contract person: FF2_<year>.DBF.
inline constexpr const char* kFf2DbfSpec =
    "Cnp_ang N(13),Nume C(40),Prenume C(40),Localitate C(50),Judet C(20),"
    "Strada C(50),Nr C(10),Cod_postal N(6),Bloc C(10),Scara C(10),Etaj C(10),"
    "Ap C(10),Sector N(1),Rectific C(1),AS1 C(1),AS2 C(1),AS3 C(1),AS4 C(1),AS5 C(1),"
    "AS6 C(1),AS7 C(1),AS8 C(1),Venit_01 N(12),Impozit_01 N(12),Venit_02 N(12),"
    "Impozit_02 N(12),Venit_03 N(12),Impozit_03 N(12),Venit_04 N(12),"
    "Impozit_04 N(12),Venit_05 N(12),Impozit_05 N(12),Venit_06 N(12),"
    "Impozit_06 N(12),Venit_07 N(12),Impozit_07 N(12),Venit_08 N(12),"
    "Impozit_08 N(12),Venit_09 N(12),Impozit_09 N(12),Venit_10 N(12),"
    "Impozit_10 N(12),Venit_11 N(12),Impozit_11 N(12),Venit_12 N(12),"
    "Impozit_12 N(12),Venit_13 N(12),Impozit_13 N(12)";

// The dependants for whom deductions were granted: DED_<year>.DBF.
inline constexpr const char* kDedDbfSpec =
    "Cnp_ang N(13),Cnp_pers N(13),Nume C(40),Prenume C(40),Sot C(1),Copil C(1),"
    "Alta C(1),Invalid_I C(1),Invalid_II C(1),Alte_sit C(1),Coef_01 N(4,2),"
    "Coef_02 N(4,2),Coef_03 N(4,2),Coef_04 N(4,2),Coef_05 N(4,2),Coef_06 N(4,2),"
    "Coef_07 N(4,2),Coef_08 N(4,2),Coef_09 N(4,2),Coef_10 N(4,2),Coef_11 N(4,2),Coef_12 N(4,2)";

}  // namespace traveno::declarations
