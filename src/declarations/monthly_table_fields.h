// The field lists of the monthly social-insurance and unemployment
// tables, passed to CreateDbfTable exactly as the authorities' layouts give
// them (the blanks before "AN" and "F1" of A2 included): the names, order,
// types and widths of the fields are the layouts themselves. Never change them.
#pragma once

namespace traveno::declarations {

// One record per insured person: A11.dbf.
inline constexpr const char* kA11DbfSpec =
    "AN N(4,0),LN N(2,0),CF N(10,0),RJ C(3),RN N(5,0),RA N(4,0),NUME C(29),CNP N(13,0),"
    "CM N(1,0),CV N(1,0),PE N(1,0),SOM N(1,0),TT N(2,0),NN N(2,0),DD N(2,0),SS N(2,0),"
    "PP N(2,0),TV N(9,0),TVN N(9,0),TVD N(9,0),TVS N(9,0),CASAT N(9,0),CASTOT N(9,0),"
    "BASS N(9,0),CNPA N(13,0),NORMA N(1,0)";

// The employer's record: A12.dbf.
inline constexpr const char* kA12DbfSpec =
    "AN N(4,0),LN N(2,0),DCZZ N(2,0),DCLL N(2,0),DCAA N(4,0),DEN C(29),CF N(10,0),RJ C(3),"
    "RN N(5,0),RA N(4,0),NRM N(8,2),FS N(13,0),FSN N(13,0),FSD N(13,0),FSS N(13,0),"
    "CASS N(13,0),CASAN N(13,0),BASS N(13,0),CASS145 N(13,0),CASVIR N(13,0),NRF N(3,0),"
    "B1 C(16),F1 C(16),C1 C(35),B2 C(16),F2 C(16),C2 C(35),B3 C(16),F3 C(16),C3 C(35),"
    "B4 C(16),F4 C(16),C4 C(35),CNPA N(13,0),NRIG N(7,0),DATAIG D,CAAMBP N(13,0),"
    "A_LOCA C(21),A_STR C(21),A_NR C(7),A_BL C(5),A_SC C(4),A_ET C(2),A_AP C(4),"
    "TELEFON N(10,0),A_JUD C(3),A_SECT N(2,0),E_MAIL C(45)";

// One record per insured person: A1.dbf.
inline constexpr const char* kA1DbfSpec =
    "AN N(4,0),LN N(2,0),CF N(10,0),CN N(13),NUME C(30),CNP N(13,0),RM N(1,0),CV N(1,0),"
    "SBL N(9,0),CID N(9,0),CIV N(9,0),CIN N(9,0)";

// The employer's record: A2.dbf.
inline constexpr const char* kA2DbfSpec =
    "NRI C(10),DATAI D, AN N(4,0),LN N(2,0),DATAL D,DEN C(60),CF N(10,0),RJ C(3),RN N(5,0),"
    "RA N(4,0),NRA N(6,2),FS N(13,0),TCAD N(10,0),TCAV N(10,0),TCAN N(10,0),DED N(10,0),"
    "TCID N(10,0),TCIV N(10,0),TCIN N(10,0),TOTD N(10,0),TOTV N(10,0),TOTN N(10,0),"
    "OBL N(13,0),OBLNA N(13,0),OBLNI N(13,0),MAJ N(10,0),PEN N(10,0),TOTOBL N(13,0),"
    "B1 C(30), F1 C(30),C1 C(30),B2 C(30),F2 C(30),C2 C(30),FUNCA C(30),NUMEA C(30),"
    "DATAD D,SUP N(1,0)";

}  // namespace traveno::declarations
