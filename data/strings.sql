-- The strings table Wordloom ships. The build turns this file into strings.db; the program never
-- creates or alters the table. One column per language (declared TEXT, so every TEXT column is a
-- language, Project included), then the bookkeeping columns. For every language L: index L
-- (case-sensitive, the key index) and index L2 (letter case ignored, the grid's order).
PRAGMA journal_mode = WAL;

CREATE TABLE strings (
    English TEXT,
    German TEXT,
    French TEXT,
    Spanish TEXT,
    Italian TEXT,
    Project TEXT,
    SpFront INTEGER,
    SpEnd INTEGER
);

CREATE INDEX English ON strings (English);
CREATE INDEX English2 ON strings (English COLLATE NOCASE);
CREATE INDEX German ON strings (German);
CREATE INDEX German2 ON strings (German COLLATE NOCASE);
CREATE INDEX French ON strings (French);
CREATE INDEX French2 ON strings (French COLLATE NOCASE);
CREATE INDEX Spanish ON strings (Spanish);
CREATE INDEX Spanish2 ON strings (Spanish COLLATE NOCASE);
CREATE INDEX Italian ON strings (Italian);
CREATE INDEX Italian2 ON strings (Italian COLLATE NOCASE);
CREATE INDEX Project ON strings (Project);
CREATE INDEX SpFront ON strings (SpFront);
CREATE INDEX SpEnd ON strings (SpEnd);
