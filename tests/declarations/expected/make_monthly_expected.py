#!/usr/bin/env python3
"""Writes the expected monthly declaration files of the FILE company's March
2003 (monthly_files_fixture.h) from field values worked out by hand from its
rows. The dBASE tables are written by this script's own dBASE III writer,
independent of the program's.

Run it from this folder when the layouts or the fixture change, then check
the difference of every file by eye before committing."""
import re

HEADER_DATE = (2003, 4, 5)  # the date the tests give the tables
OUT = "monthly/"


def rjust(value, width):
    return str(value).rjust(width)


def ljust(value, width):
    return str(value).ljust(width)


def save_lines(name, lines):
    with open(OUT + name, "wb") as out:
        for line in lines:
            out.write(line.encode("cp1250") + b"\r\n")


def layout(spec):
    """(name, type, width, decimals) of every field of a spec."""
    fields = []
    for name, kind, size in re.findall(r"(\w+) ([CNDLF])(?:\(([\d,]*)\))?", spec):
        numbers = [int(n) for n in size.split(",") if n]
        if kind == "D":
            width, decimals = 8, 0
        else:
            width = numbers[0] if numbers else 10
            decimals = numbers[1] if len(numbers) > 1 and kind != "C" else 0
        fields.append((name.upper(), kind, width, decimals))
    return fields


def save_table(name, spec, records):
    fields = layout(spec)
    year, month, day = HEADER_DATE
    head = bytearray([3, year % 100, month, day])
    head += len(records).to_bytes(4, "little")
    head += (32 + 32 * len(fields) + 1).to_bytes(2, "little")
    head += (1 + sum(width for _, _, width, _ in fields)).to_bytes(2, "little")
    head += bytes(20)
    position = 1
    for field, kind, width, decimals in fields:
        head += field.encode("ascii").ljust(11, b"\0")[:11]
        head += kind.encode("ascii") + position.to_bytes(2, "little") + bytes(2)
        head += bytes([width, decimals]) + bytes(14)
        position += width
    head += b"\x0d"
    for record in records:
        head += b" "
        for field, kind, width, decimals in fields:
            value = record.get(field)
            if value is None:
                cell = " " * width
            elif kind == "N":
                cell = ("%.*f" % (decimals, value)).rjust(width)
            elif kind == "D":
                cell = "%04d%02d%02d" % value
            else:
                cell = value.ljust(width)[:width]
            assert len(cell) == width, (field, cell)
            head += cell.encode("cp1250")
    head += b"\x1a"
    with open(OUT + name, "wb") as out:
        out.write(bytes(head))


def specs():
    text = open("../../../src/declarations/monthly_table_fields.h").read()
    return {name: "".join(re.findall(r'"([^"]*)"', body))
            for name, body in re.findall(r"(k\w+DbfSpec) =\n((?:\s*\"[^\"]*\"\n?)+);", text)}


SPECS = specs()
# S and T with comma below have the code page's S and T with cedilla.
STEFANESCU_STORED = "\u015etef\u0103nescu-\u0162\u0103ranu Ana-\u015etefana"  # 29 characters
STEFANESCU_UPPER = "\u015eTEF\u0102NESCU-\u0162\u0102RANU ANA-\u015eTEFANA"
LUPU = "LUPU-\u0162IBULEAC ANCA-L\u0102CR\u0102MIOARA"  # 30 characters
DENUMIRE = "SC Fixtur\u0103 Lunar\u0103 \u015fi \u0162es\u0103turi"  # 29 characters, as stored
DENUMIRE_UPPER = "SC FIXTUR\u0102 LUNAR\u0102 \u015eI \u0162ES\u0102TURI"
BANCA3 = "BANCA \u0162\u0102R\u0102NEASC\u0102"  # 16 characters
FILIALA3 = "PIATRA NEAM\u0162"
LOCALITATE = "BUCURE\u015eTI"
STRADA = "\u015eTEFAN CEL MARE"
FUNCTIE = "Director economic \u015fi financiar"  # 30 characters, as typed
SEMNATAR = "Popovici-\u0162u\u0163uianu Ana-M\u0103d\u0103lina"  # 30 characters, as typed
assert len(STEFANESCU_STORED) == 29 and len(LUPU) == 30 and len(DENUMIRE) == 29
assert len(BANCA3) == 16 and len(FUNCTIE) == 30 and len(SEMNATAR) == 30

# ---- social insurance ----
# Per declared person (OPREA has no other main income and is not declared),
# in the order of department, kind and employee number: the name written to
# the text file and the one kept in the table, code, CM CV PE SOM, total
# days, days in the norm (holiday + days worked), days of benefits (medical
# + child care), BazaCAS (gross less the employer's and the state's leave
# and the child-care leave; the exempt sums stay out), pension withheld,
# benefits (child care + state + employer leave), BASS (child care + state
# leave), NORMA.
persons = [
    ("POPESCU ION", "POPESCU ION", "1700101400011", (1, 0, 0, 0), 22, 2 + 17, 3,
     10000000 - 450000, 955000, 450000, 0, 8),
    (STEFANESCU_UPPER, STEFANESCU_STORED, "2751231400022", (1, 0, 0, 0), 22, 1 + 16, 3 + 2,
     6000000 - 100000 - 300000 - 150000, 545000, 150000 + 300000 + 100000, 150000 + 300000, 8),
    ("RADU MIHAI", "RADU MIHAI", "1450505400033", (0, 0, 8, 0), 22, 22, 0, 4000000, 380000, 0,
     0, 6),
    (LUPU, LUPU[:29], "2660308400044", (0, 4, 0, 0), 20, 1 + 19, 0, 2000000, 190000, 0, 0, 8),
]
a11 = []
a11_records = []
for text_name, table_name, code, flags, tt, nn, pp, baza, pensie, prest, bass, norma in persons:
    assert tt == nn + pp
    a11.append("2003" + " 3" + rjust("1234567", 10) + "J40" + rjust("1234", 5) + "1998" +
               ljust(text_name, 29) + code + "".join(str(f) for f in flags) + rjust(tt, 2) +
               rjust(nn, 2) + " 0" + " 0" + rjust(pp, 2) + rjust(baza, 9) + rjust(baza, 9) +
               rjust(0, 9) + rjust(0, 9) + rjust(pensie, 9) + rjust(prest, 9) + rjust(bass, 9) +
               rjust(0, 13) + str(norma))
    a11_records.append({
        "AN": 2003, "LN": 3, "CF": 1234567, "RJ": "J40", "RN": 1234, "RA": 1998,
        "NUME": table_name, "CNP": int(code), "CM": flags[0], "CV": flags[1], "PE": flags[2],
        "SOM": flags[3], "TT": tt, "NN": nn, "DD": 0, "SS": 0, "PP": pp, "TV": baza, "TVN": baza,
        "TVD": 0, "TVS": 0, "CASAT": pensie, "CASTOT": prest, "BASS": bass, "CNPA": 0,
        "NORMA": norma})
save_lines("A11.txt", a11)
save_table("A11.dbf", SPECS["kA11DbfSpec"], a11_records)

# The employer.
SB = sum(p[7] for p in persons)            # 21 000 000
SP = sum(p[8] for p in persons)            # 2 070 000 (OPREA withholds nothing)
SS = sum(p[10] for p in persons)           # 450 000
# The employer's base: the permanent gross 20 000 000 and the partial
# contract with another income 2 000 000, less every leave of the permanent
# (550 000 + 300 000 + 150 000): 21 000 000, at 22% 4 620 000. The health
# contribution of the 6 days of medical leave on twice the minimum wage:
# RoundEven(2 500 000 * 2 / 22 * 6 * 6.5 / 100) = RoundEven(88 636.36).
HC = 88636
EC = 4620000 - 300000 - 150000 - HC        # the state's leave and HC paid out of it: 4 081 364
AC = 105000                                 # 0.5% of 21 000 000
# NRM: hours on norm 8: (17 + 2) * 8 + (16 + 1) * 8 + 4 * (19 + 1) = 368 of
# 22 * 8 = 176 a person, 2.09; on norm 6: 22 * 6 = 132 of 132, 1.00.
NRM = "3.09"
assert (SB, SP, SS) == (21000000, 2070000, 450000)
J = EC + SS + HC                            # 4 620 000
M = EC + SP                                 # 6 151 364
NRF = 2
a12 = ("2003" + " 3" + "10" + " 4" + "2003" + ljust(DENUMIRE_UPPER, 29) +
       rjust("1234567", 10) + "J40" + rjust("1234", 5) + "1998" + rjust(NRM, 8) +
       rjust(SB, 13) + rjust(SB, 13) + rjust(0, 13) + rjust(0, 13) +
       rjust(SP, 13) + rjust(J, 13) + rjust(SS, 13) + rjust(HC, 13) +
       rjust(M, 13) + rjust(NRF, 3) +
       ljust("BCR", 16) + ljust("SECTOR 1", 16) + ljust("RO49RNCB0082004530120001", 35) +
       ljust("BRD", 16) + ljust("UNIRII", 16) + ljust("2511009876", 35) +
       ljust(BANCA3, 16) + ljust(FILIALA3, 16) + ljust("2511.1-555.7", 35) + " " * (16 + 16 + 35) +
       rjust(0, 13) + rjust(AC, 13) + rjust(LOCALITATE, 21) + rjust(STRADA, 21) +
       rjust("5A", 7) + rjust("A1", 5) + rjust("C", 4) + rjust("8", 2) + rjust("14", 4) +
       rjust("0213334455", 10) + ljust("B", 3) + rjust("6", 2) + rjust("Office@Fixt.ro", 45))
save_lines("A12.txt", [a12])
save_table("A12.dbf", SPECS["kA12DbfSpec"], [{
    "AN": 2003, "LN": 3, "DCZZ": 10, "DCLL": 4, "DCAA": 2003,
    "DEN": DENUMIRE_UPPER, "CF": 1234567, "RJ": "J40", "RN": 1234,
    "RA": 1998, "NRM": 3.09, "FS": SB, "FSN": SB, "FSD": 0, "FSS": 0,
    "CASS": SP, "CASAN": J, "BASS": SS, "CASS145": HC, "CASVIR": M,
    "NRF": NRF, "B1": "BCR", "F1": "SECTOR 1", "C1": "RO49RNCB0082004530120001", "B2": "BRD",
    "F2": "UNIRII", "C2": "2511009876", "B3": BANCA3, "F3": FILIALA3, "C3": "2511.1-555.7",
    "CNPA": 0, "NRIG": 0,
    "CAAMBP": AC, "A_LOCA": LOCALITATE, "A_STR": STRADA, "A_NR": "5A", "A_BL": "A1",
    "A_SC": "C", "A_ET": "8", "A_AP": "14", "TELEFON": 213334455, "A_JUD": "B", "A_SECT": 6,
    "E_MAIL": "Office@Fixt.ro"}])

# ---- unemployment ----
# The 150 000 paid of the 170 000 due (100 000 + 60 000 + 10 000; RADU and
# OPREA owe nothing), spread in proportion: shares 58.82%, 35.29% and 5.88%,
# paid RoundEven(150 000 * share / 100) = 88 230, 52 935 and 8 820; the 15
# lei the rounding leaves go to the last person who still owes, LUPU. Bases:
# the contribution at 1% for the permanent, LUPU's withheld at 0.5%.
insured = [
    ("POPESCU ION", "POPESCU ION", "1700101400011", 1, 10000000, 100000, 88230),
    (STEFANESCU_UPPER, STEFANESCU_STORED, "2751231400022", 1, 6000000, 60000, 52935),
    (LUPU, LUPU, "2660308400044", 2, 2000000, 10000, 8820 + 15),
]
assert sum(i[6] for i in insured) == 150000
a1 = []
a1_records = []
for text_name, table_name, code, kind, base, due, paid in insured:
    permanent = 1 if kind == 1 else 0
    a1.append("2003" + " 3" + rjust("1234567", 10) + rjust("0", 13) + ljust(text_name, 30) +
              code + str(permanent) + str(1 - permanent) + rjust(base, 9) + rjust(due, 9) +
              rjust(paid, 9) + rjust(due - paid, 9))
    a1_records.append({"AN": 2003, "LN": 3, "CF": 1234567, "NUME": table_name,
                       "CNP": int(code), "RM": permanent, "CV": 1 - permanent, "SBL": base,
                       "CID": due, "CIV": paid, "CIN": due - paid})
save_lines("A1.txt", a1)
save_table("A1.dbf", SPECS["kA1DbfSpec"], a1_records)

# The employer: FS = 10 000 000 + 6 000 000 - 300 000 - 150 000 (the
# pensioner and the partial contracts add nothing); the employer's 466 500
# due less 400 000 paid and 1 000 deducted leaves 65 500; the insured leave
# 20 000; the earlier months owe 2 000 + 3 000 + 4 000 + 5 000.
FS = 15550000
SDAng, SVAng, Ded, SDAsig, SVAsig = 466500, 400000, 1000, 170000, 150000
RestAs, RestAn, Penal, Maj = 2000, 3000, 4000, 5000
TCAN = SDAng - SVAng - Ded
TCIN = SDAsig - SVAsig
TOTN = TCAN + TCIN
OBL = RestAs + RestAn + Penal + Maj
a2 = (rjust("17/2003", 10) + "05042003" + "2003" + " 3" + "10042003" +
      ljust(DENUMIRE_UPPER, 60) + rjust("1234567", 10) + "J40" +
      rjust("1234", 5) + "1998" + rjust("3,09", 6) + rjust(FS, 13) +
      rjust(SDAng, 10) + rjust(SVAng, 10) + rjust(TCAN, 10) + rjust(Ded, 10) +
      rjust(SDAsig, 10) + rjust(SVAsig, 10) + rjust(TCIN, 10) + rjust(SDAng - Ded + SDAsig, 10) +
      rjust(SVAsig + SVAng, 10) + rjust(TOTN, 10) + rjust(OBL, 13) + rjust(RestAn, 13) +
      rjust(RestAs, 13) + rjust(Penal, 10) + rjust(Maj, 10) + rjust(TOTN + OBL, 13) +
      ljust("BCR", 30) + ljust("SECTOR 1", 30) + ljust("RO49RNCB0082004530120001", 30) +
      ljust("BRD", 30) + ljust("UNIRII", 30) + ljust("2511009876", 30) +
      ljust(FUNCTIE, 30) + ljust(SEMNATAR, 30) + "05042003" + "1")
save_lines("A2.txt", [a2])
save_table("A2.dbf", SPECS["kA2DbfSpec"], [{
    "NRI": "17/2003", "DATAI": (2003, 4, 5), "AN": 2003, "LN": 3, "DATAL": (2003, 4, 10),
    "DEN": DENUMIRE, "CF": 1234567, "RJ": "J40", "RN": 1234,
    "RA": 1998, "NRA": 3.09, "FS": FS, "TCAD": SDAng, "TCAV": SVAng, "TCAN": TCAN,
    "DED": Ded, "TCID": SDAsig, "TCIV": SVAsig, "TCIN": TCIN, "TOTD": SDAng - Ded + SDAsig,
    "TOTV": SVAsig + SVAng, "TOTN": TOTN, "OBL": OBL, "OBLNA": RestAn, "OBLNI": RestAs,
    "MAJ": Penal, "PEN": Maj, "TOTOBL": TOTN + OBL, "B1": "BCR", "F1": "SECTOR 1",
    "C1": "RO49RNCB0082004530120001", "B2": "BRD", "F2": "UNIRII", "C2": "2511009876",
    "FUNCA": FUNCTIE, "NUMEA": SEMNATAR, "DATAD": (2003, 4, 5), "SUP": 1}])
