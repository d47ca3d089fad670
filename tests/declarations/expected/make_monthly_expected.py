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
STEFANESCU = "\u015eTEF\u0102NESCU"  # S with comma below has the code page's S with cedilla

# ---- social insurance ----
# Per declared person (OPREA has no other main income and is not declared):
# name, code, CM CV PE SOM, total days, days in the norm, days of benefits,
# BazaCAS, pension withheld, benefits, BASS, NORMA.
persons = [
    ("POPESCU ION", "1700101400011", (1, 0, 0, 0), 22, 22, 0, 10000000, 950000, 0, 0, 8),
    (STEFANESCU + " ANA", "2751231400022", (1, 0, 0, 0), 22, 20, 2, 5700000, 570000, 300000,
     300000, 8),
    ("RADU MIHAI", "1450505400033", (0, 0, 8, 0), 22, 22, 0, 4000000, 380000, 0, 0, 8),
    ("LUPU CARMEN", "2660308400044", (0, 4, 0, 0), 22, 22, 0, 2000000, 190000, 0, 0, 8),
]
a11 = []
a11_records = []
for name, code, flags, tt, nn, pp, baza, pensie, prest, bass, norma in persons:
    a11.append("2003" + " 3" + rjust("1234567", 10) + "J40" + rjust("1234", 5) + "1998" +
               ljust(name, 29) + code + "".join(str(f) for f in flags) + rjust(tt, 2) +
               rjust(nn, 2) + " 0" + " 0" + rjust(pp, 2) + rjust(baza, 9) + rjust(baza, 9) +
               rjust(0, 9) + rjust(0, 9) + rjust(pensie, 9) + rjust(prest, 9) + rjust(bass, 9) +
               rjust(0, 13) + str(norma))
    a11_records.append({
        "AN": 2003, "LN": 3, "CF": 1234567, "RJ": "J40", "RN": 1234, "RA": 1998,
        "NUME": name, "CNP": int(code), "CM": flags[0], "CV": flags[1], "PE": flags[2],
        "SOM": flags[3], "TT": tt, "NN": nn, "DD": 0, "SS": 0, "PP": pp, "TV": baza, "TVN": baza,
        "TVD": 0, "TVS": 0, "CASAT": pensie, "CASTOT": prest, "BASS": bass, "CNPA": 0,
        "NORMA": norma})
save_lines("A11.txt", a11)
save_table("A11.dbf", SPECS["kA11DbfSpec"], a11_records)

# The employer: SB = 21 700 000 (the BazaCAS above), SP = 2 090 000 (every
# row's pension), SS = 300 000; the employer's base is 20 000 000 + 2 000 000
# (the partial contract with another income) - 300 000 = 21 700 000, at 22%
# 4 774 000; the health contribution of the 2 leave days is
# RoundEven(2 500 000 * 2 / 22 * 2 * 6.5 / 100) = 29 545; EC = 4 774 000 -
# 300 000 - 29 545 = 4 444 455; AC = 0.5% of 21 700 000 = 108 500; NRM: the
# hours of norm 8 are 22*8 + 20*8 + 22*8 + 4*22 = 600 of 176 a person: 3.41.
# J = EC + SS + HC = 4 774 000, M = EC + SP = 6 534 455.
a12 = ("2003" + " 3" + "10" + " 4" + "2003" + ljust("SC FIXTUR\u0102 LUNAR\u0102 SRL", 29) +
       rjust("1234567", 10) + "J40" + rjust("1234", 5) + "1998" + rjust("3.41", 8) +
       rjust(21700000, 13) + rjust(21700000, 13) + rjust(0, 13) + rjust(0, 13) +
       rjust(2090000, 13) + rjust(4774000, 13) + rjust(300000, 13) + rjust(29545, 13) +
       rjust(6534455, 13) + rjust(1, 3) +
       ljust("BCR", 16) + ljust("SECTOR 1", 16) + ljust("251100123456789", 35) +
       ljust("BRD", 16) + ljust("UNIRII", 16) + ljust("2511009876", 35) +
       ljust("", 16) + ljust("", 16) + ljust("", 35) + " " * (16 + 16 + 35) +
       rjust(0, 13) + rjust(108500, 13) + rjust("BUCURESTI", 21) + rjust("LUNGA", 21) +
       rjust("5", 7) + rjust("A1", 5) + rjust("2", 4) + rjust("3", 2) + rjust("14", 4) +
       rjust("0213334455", 10) + ljust("B", 3) + rjust("3", 2) + rjust("Office@Fixt.ro", 45))
save_lines("A12.txt", [a12])
save_table("A12.dbf", SPECS["kA12DbfSpec"], [{
    "AN": 2003, "LN": 3, "DCZZ": 10, "DCLL": 4, "DCAA": 2003,
    "DEN": "SC FIXTUR\u0102 LUNAR\u0102 SRL", "CF": 1234567, "RJ": "J40", "RN": 1234,
    "RA": 1998, "NRM": 3.41, "FS": 21700000, "FSN": 21700000, "FSD": 0, "FSS": 0,
    "CASS": 2090000, "CASAN": 4774000, "BASS": 300000, "CASS145": 29545, "CASVIR": 6534455,
    "NRF": 1, "B1": "BCR", "F1": "SECTOR 1", "C1": "251100123456789", "B2": "BRD",
    "F2": "UNIRII", "C2": "2511009876", "B3": "", "F3": "", "C3": "", "CNPA": 0, "NRIG": 0,
    "CAAMBP": 108500, "A_LOCA": "BUCURESTI", "A_STR": "LUNGA", "A_NR": "5", "A_BL": "A1",
    "A_SC": "2", "A_ET": "3", "A_AP": "14", "TELEFON": 213334455, "A_JUD": "B", "A_SECT": 3,
    "E_MAIL": "Office@Fixt.ro"}])

# ---- unemployment ----
# The 150 000 paid of the 180 000 due, spread in proportion: shares 55.56%,
# 33.33% and 11.11%, paid RoundEven(150 000 * share / 100).
insured = [
    ("POPESCU ION", "1700101400011", 1, 10000000, 100000, 83340, 16660),
    (STEFANESCU + " ANA", "2751231400022", 1, 6000000, 60000, 49995, 10005),
    ("LUPU CARMEN", "2660308400044", 2, 2000000, 20000, 16665, 3335),
]
a1 = []
a1_records = []
for name, code, kind, base, due, paid, unpaid in insured:
    permanent = 1 if kind == 1 else 0
    a1.append("2003" + " 3" + rjust("1234567", 10) + rjust("0", 13) + ljust(name, 30) + code +
              str(permanent) + str(1 - permanent) + rjust(base, 9) + rjust(due, 9) +
              rjust(paid, 9) + rjust(unpaid, 9))
    a1_records.append({"AN": 2003, "LN": 3, "CF": 1234567, "NUME": name, "CNP": int(code),
                       "RM": permanent, "CV": 1 - permanent, "SBL": base, "CID": due,
                       "CIV": paid, "CIN": unpaid})
save_lines("A1.txt", a1)
save_table("A1.dbf", SPECS["kA1DbfSpec"], a1_records)

# The employer: FS = 10 000 000 + 6 000 000 - 300 000; the employer's 471 000
# due less 400 000 paid and 1 000 deducted leaves 70 000; the insured leave
# 30 000; the earlier months owe 2 000 + 3 000 + 4 000 + 5 000.
a2 = (rjust("123", 10) + "05042003" + "2003" + " 3" + "10042003" +
      ljust("SC FIXTUR\u0102 LUNAR\u0102 SRL", 60) + rjust("1234567", 10) + "J40" +
      rjust("1234", 5) + "1998" + rjust("3,41", 6) + rjust(15700000, 13) +
      rjust(471000, 10) + rjust(400000, 10) + rjust(70000, 10) + rjust(1000, 10) +
      rjust(180000, 10) + rjust(150000, 10) + rjust(30000, 10) + rjust(650000, 10) +
      rjust(550000, 10) + rjust(100000, 10) + rjust(14000, 13) + rjust(3000, 13) +
      rjust(2000, 13) + rjust(4000, 10) + rjust(5000, 10) + rjust(114000, 13) +
      ljust("BCR", 30) + ljust("SECTOR 1", 30) + ljust("251100123456789", 30) +
      ljust("BRD", 30) + ljust("UNIRII", 30) + ljust("2511009876", 30) +
      ljust("Director", 30) + ljust("Popescu Ion", 30) + "05042003" + "1")
save_lines("A2.txt", [a2])
save_table("A2.dbf", SPECS["kA2DbfSpec"], [{
    "NRI": "123", "DATAI": (2003, 4, 5), "AN": 2003, "LN": 3, "DATAL": (2003, 4, 10),
    "DEN": "SC FIXTUR\u0102 LUNAR\u0102 SRL", "CF": 1234567, "RJ": "J40", "RN": 1234,
    "RA": 1998, "NRA": 3.41, "FS": 15700000, "TCAD": 471000, "TCAV": 400000, "TCAN": 70000,
    "DED": 1000, "TCID": 180000, "TCIV": 150000, "TCIN": 30000, "TOTD": 650000,
    "TOTV": 550000, "TOTN": 100000, "OBL": 14000, "OBLNA": 3000, "OBLNI": 2000, "MAJ": 4000,
    "PEN": 5000, "TOTOBL": 114000, "B1": "BCR", "F1": "SECTOR 1", "C1": "251100123456789",
    "B2": "BRD", "F2": "UNIRII", "C2": "2511009876", "FUNCA": "Director",
    "NUMEA": "Popescu Ion", "DATAD": (2003, 4, 5), "SUP": 1}])
