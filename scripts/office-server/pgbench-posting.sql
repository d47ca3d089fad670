-- One posting at month's end, for pgbench on the database of measure-catalogue.sh:
-- the company's lock, the line read for update and changed, commit. (2,000 companies of
-- 600 lines: measure-catalogue.sh DATA 2000 600.)
\set c random(1, 2000)
\set n random(1, 600)
SELECT pg_advisory_lock(:c);
BEGIN;
SELECT salinc FROM firma_c:c.pers WHERE nr = :n FOR UPDATE;
UPDATE firma_c:c.pers SET prime = prime + 1, brut = brut + 1, restpl = restpl + 1 WHERE nr = :n;
COMMIT;
SELECT pg_advisory_unlock(:c);
