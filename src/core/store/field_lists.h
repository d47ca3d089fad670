// The fields of every stored table, in their physical order: name, kind and,
// for texts, the width in characters. The database schema, the row structs
// and the generic field access are all generated from these lists, so a field
// exists in one place only. Names are the columns of the database: never
// rename or reorder them.
#pragma once

// X(name, kind, width); kinds: AutoInc, Date, Int16, Int32, Double, Text, Blob.

#define TRAVENO_FIRME_FIELDS(X)                                                              \
  X(CodF, AutoInc, 0) X(Cod, Text, 8) X(TipAngaj, Int32, 0) X(Denumire, Text, 40)           \
  X(Nume, Text, 20) X(Prenume, Text, 30) X(Judet, Text, 16) X(CodFiscal, Text, 13)          \
  X(RegCom, Text, 16) X(Banca1, Text, 30) X(Banca2, Text, 30) X(Banca3, Text, 30)            \
  X(Filiala1, Text, 30) X(Filiala2, Text, 30) X(Filiala3, Text, 30) X(Cont1, Text, 30)       \
  X(Cont2, Text, 30) X(Cont3, Text, 30) X(Telefon, Text, 40) X(Fax, Text, 20)                \
  X(EMail, Text, 30) X(Localitate, Text, 20) X(Strada, Text, 20) X(Numar, Text, 5)           \
  X(CodPostal, Text, 5) X(Bloc, Text, 5) X(Scara, Text, 5) X(Etaj, Text, 5) X(Ap, Text, 5)   \
  X(Sector, Text, 5) X(Pers1, Text, 40) X(Pers2, Text, 40) X(NrI, Int32, 0) X(nr, Text, 10)

#define TRAVENO_PARA_FIELDS(X) \
  X(Nr, AutoInc, 0) X(Luna, Date, 0) X(Den, Text, 12) X(Val, Double, 0) X(Grupa, Text, 12)

#define TRAVENO_IMPO_FIELDS(X)                                                   \
  X(Nr, AutoInc, 0) X(Luna, Date, 0) X(P_Venit, Double, 0) X(V_Const, Double, 0) \
  X(V_Proc, Double, 0)

#define TRAVENO_PERS_FIELDS(X)                                                                 \
  X(Nr, AutoInc, 0) X(LUNA, Date, 0) X(IID, Int32, 0) X(TIP, Text, 1) X(NUME, Text, 20)       \
  X(PRENUME, Text, 30) X(CODNUMPERS, Text, 15) X(FUNCTIE, Text, 50) X(SALINC, Double, 0)       \
  X(TIMP, Double, 0) X(TIMP_SPL, Double, 0) X(VAL_TIMP_S, Double, 0) X(ALTESPORP, Double, 0)   \
  X(VAL_SPORP, Double, 0) X(PRIME, Double, 0) X(CM1L, Double, 0) X(CM2L, Double, 0)            \
  X(BRUT, Double, 0) X(PENSIE, Double, 0) X(SOMAJ, Double, 0) X(TOTDREPT, Double, 0)           \
  X(IMPOZIT, Double, 0) X(AVANS, Double, 0) X(RETINERI, Double, 0) X(RESTPL, Double, 0)        \
  X(STUDII, Text, 50) X(DATA_ANG, Date, 0) X(DATA_NAS, Date, 0) X(DATA_LICH, Date, 0)          \
  X(LOCALITATE, Text, 20) X(STRADA, Text, 20) X(NUMAR, Text, 5) X(CODPOSTAL, Text, 5)          \
  X(BLOC, Text, 5) X(SCARA, Text, 5) X(ETAJ, Text, 5) X(AP, Text, 5) X(SECTOR, Text, 5)        \
  X(TELEFON, Text, 50) X(ALTE_DATE, Text, 50) X(SANATATE, Double, 0)                           \
  X(TIMP_NOAPTE, Double, 0) X(SUMA_T_NOAPTE, Double, 0) X(ZILE_CO, Double, 0)                  \
  X(SUMA_ZILE_CO, Double, 0) X(ALTE_SUME, Double, 0) X(CIC, Double, 0) X(POPRIRI, Double, 0)   \
  X(GARANTII, Double, 0) X(ALTE_RET, Double, 0) X(PRIME_INCASATE, Double, 0)                   \
  X(AVANS_CO, Double, 0) X(ZILE_FP, Int16, 0) X(ZILE_CM, Int16, 0) X(CATEGORIE, Int16, 0)      \
  X(MARCA, Int32, 0) X(ACORD, Text, 1) X(REALIZAT, Double, 0) X(ZILE_CIC, Int16, 0)            \
  X(SPORURI, Double, 0) X(CoefInd, Double, 0) X(CoefInd1, Double, 0) X(INVALIDITATE, Int32, 0) \
  X(Judet, Text, 16) X(VENIT_NET, Double, 0) X(DED_PERS_SUPLI, Double, 0)                      \
  X(DED_PERS, Double, 0) X(ALT_VENIT, Int32, 0) X(Depart, Text, 8) X(EMAIL, Text, 50)          \
  X(fisa_rectif, Text, 1) X(fisa_regul, Text, 1) X(Domiciliu_ext, Text, 1) X(pr_va, Double, 0) \
  X(Spor1, Double, 0) X(vals1, Double, 0) X(spor2, Double, 0) X(vals2, Double, 0)              \
  X(spor3, Double, 0) X(vals3, Double, 0) X(spor4, Double, 0) X(vals4, Double, 0)              \
  X(Dif_Brut, Double, 0) X(SumeExcept, Double, 0) X(Brut1, Double, 0) X(BifaSom, Int32, 0)     \
  X(Ch_Prof, Double, 0) X(PlatitOra, Int32, 0) X(Ore_Zi, Double, 0) X(ProcImpo, Double, 0)     \
  X(Pensionar, Int32, 0) X(NORMA, Int32, 0)

#define TRAVENO_PINT_FIELDS(X)                                                            \
  X(Nr, AutoInc, 0) X(Luna, Date, 0) X(IID, Int32, 0) X(AiPers, Int32, 0) X(Nume, Text, 20) \
  X(Prenume, Text, 30) X(CODNUMPERS, Text, 15) X(Calitate, Int32, 0)                      \
  X(Invaliditate, Int32, 0) X(Coef, Double, 0)

#define TRAVENO_PARF_FIELDS(X) \
  X(Nr, AutoInc, 0) X(Luna, Date, 0) X(Den, Text, 12) X(Val, Double, 0) X(Grupa, Text, 60)

#define TRAVENO_POZE_FIELDS(X) X(Nr, AutoInc, 0) X(IID, Int32, 0) X(Poza, Blob, 0)
