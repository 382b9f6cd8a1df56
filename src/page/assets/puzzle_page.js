// The puzzle page's player: reads the ipuz document embedded in the page,
// draws the grid as on paper and plays it by mouse, touch and keyboard.
// Plain script, no framework and no build step: it ships inside the page.
//
// [SECTION] Reading the puzzle   cells and words from the ipuz document
// [SECTION] Saved progress       local storage, keyed by the puzzle's identity
// [SECTION] Drawing              the table, its labels and its sizes
// [SECTION] Selection            the current cell and word, moves between them
// [SECTION] Typing               keys and input events, folded as the program folds words
// [SECTION] Tools                check, reveal, clear; the solved state
// [SECTION] Start
'use strict';

(function () {
  const ACROSS = 'across';
  const DOWN = 'down';
  const DIRECTION_NAMES = { across: 'Horizontal', down: 'Vertical' };
  const CELL_MIN_PX = 44;  // a fingertip: smaller cells are missed on a phone
  const CELL_MAX_PX = 72;
  const CLUE_RATIO_MAX = 0.2;    // clue text size as a share of the cell
  const CLUE_RATIO_MIN = 0.14;  // below this a clue is unreadable: it is cut, and the bar shows it whole

  // [SECTION] Reading the puzzle ---------------------------------------------

  const puzzleText = document.getElementById('puzzle').textContent;
  const puzzle = JSON.parse(puzzleText);
  const breaks = JSON.parse(document.getElementById('clue-breaks').textContent);
  const width = puzzle.dimensions.width;
  const height = puzzle.dimensions.height;

  // One record per cell: kind is 'letter', 'clue', 'block' or 'empty'.
  function readCells() {
    const cells = [];
    for (let row = 0; row < height; ++row) {
      for (let column = 0; column < width; ++column) {
        const value = puzzle.puzzle[row][column];
        const cell = { row, column, kind: 'empty', answer: '', words: {}, clues: {}, element: null };
        if (value === puzzle.block) cell.kind = 'block';
        else if (value !== null && typeof value === 'object') cell.kind = 'clue';
        else if (typeof value === 'number') {
          cell.kind = 'letter';
          cell.answer = String(puzzle.solution[row][column]);
        }
        cells.push(cell);
      }
    }
    return cells;
  }

  function cellAt(cells, row, column) {
    if (row < 0 || row >= height || column < 0 || column >= width) return null;
    return cells[row * width + column];
  }

  // The words, across then down in the order of their numbers: the order Tab
  // follows. A word starts beside its clue cell, right of it or under it.
  function readWords(cells) {
    const words = [];
    for (const [list, direction] of [['Across', ACROSS], ['Down', DOWN]]) {
      for (const entry of (puzzle.clues && puzzle.clues[list]) || []) {
        const [clueColumn, clueRow] = entry.location;
        const clueCell = cellAt(cells, clueRow, clueColumn);
        const word = { direction, number: entry.number, clue: entry.clue || '', clueCell, cells: [] };
        for (let k = 0; k < entry.answer.length; ++k) {
          const cell = direction === ACROSS ? cellAt(cells, clueRow, clueColumn + 1 + k)
                                            : cellAt(cells, clueRow + 1 + k, clueColumn);
          if (cell && cell.kind === 'letter') word.cells.push(cell);
        }
        if (!clueCell || word.cells.length === 0) continue;
        word.index = words.length;
        for (const cell of word.cells) cell.words[direction] = word;
        clueCell.clues[direction] = word;
        words.push(word);
      }
    }
    return words;
  }

  const cells = readCells();
  const words = readWords(cells);
  const letterCells = cells.filter((cell) => cell.kind === 'letter');
  letterCells.forEach((cell, index) => { cell.index = index; });

  // [SECTION] Saved progress -------------------------------------------------

  // Every file:// page shares one storage: progress is keyed by a hash of
  // the puzzle itself, so two puzzles never mix their letters.
  function identityOf(text) {
    let a = 0x811c9dc5, b = 0x01000193 ^ text.length;
    for (let i = 0; i < text.length; ++i) {
      const c = text.charCodeAt(i);
      a = Math.imul(a ^ c, 0x01000193) >>> 0;
      b = Math.imul(b ^ c, 0x5bd1e995) >>> 0;
    }
    return 'arrowgrid:' + a.toString(16).padStart(8, '0') + b.toString(16).padStart(8, '0');
  }

  const game = {
    letters: letterCells.map(() => ''),  // by letter cell: '' or the letter typed
    marks: letterCells.map(() => ''),    // '' , 'wrong' (after a check) or 'revealed'
    current: null,                       // the selected letter cell
    direction: ACROSS,
    storageKey: identityOf(puzzleText),
    storageRefused: false,
  };

  // Saved progress that is not what this page wrote (damaged, or another
  // version's) is left out, cell by cell: only letters of the grid come back.
  function loadProgress() {
    let text = null;
    try {
      text = window.localStorage.getItem(game.storageKey);
    } catch (refused) {
      game.storageRefused = true;  // storage off: the game goes on unsaved
      return;
    }
    let saved = null;
    try { saved = JSON.parse(text); } catch (damaged) { return; }
    if (!saved || !Array.isArray(saved.letters) || saved.letters.length !== letterCells.length) return;
    saved.letters.forEach((letter, i) => { game.letters[i] = /^[A-Z-]$/.test(letter) ? letter : ''; });
    if (Array.isArray(saved.marks) && saved.marks.length === letterCells.length)
      saved.marks.forEach((mark, i) => { game.marks[i] = mark === 'wrong' || mark === 'revealed' ? mark : ''; });
  }

  function saveProgress() {
    if (game.storageRefused) return;
    try {
      window.localStorage.setItem(game.storageKey, JSON.stringify({ letters: game.letters, marks: game.marks }));
    } catch (refused) {
      game.storageRefused = true;
      showStorageNote();
    }
  }

  // [SECTION] Drawing --------------------------------------------------------

  const page = {
    table: document.querySelector('.grid'),
    box: document.querySelector('.grid-box'),
    input: document.querySelector('.typing'),
    clueDirection: document.querySelector('.clue-direction'),
    clueBar: document.querySelector('.clue-bar'),
    clueText: document.querySelector('.clue-text'),
    message: document.querySelector('.message'),
    solved: document.querySelector('.solved'),
  };

  function clueLabel(word) {
    return DIRECTION_NAMES[word.direction] + ' : ' + (word.clue || 'sans définition');
  }

  function cellLabel(cell) {
    const place = 'Ligne ' + (cell.row + 1) + ', colonne ' + (cell.column + 1);
    if (cell.kind === 'block') return place + ', case noire';
    if (cell.kind === 'empty') return place + ', hors de la grille';
    const letter = game.letters[cell.index];
    const mark = game.marks[cell.index];
    return place + ', ' + (letter ? 'lettre ' + letter : 'vide') +
           (mark === 'wrong' ? ', fausse' : mark === 'revealed' ? ', révélée' : '');
  }

  // A clue cell is named by its own text (what it shows must be in its
  // name), with its place and direction said before it but not shown.
  function unseenText(text) {
    const said = document.createElement('span');
    said.className = 'unseen';
    said.textContent = text;
    return said;
  }

  function clueElement(word, withText) {
    const line = document.createElement('span');
    line.className = 'clue-line clue-line-' + word.direction;
    line.appendChild(unseenText(DIRECTION_NAMES[word.direction] + ' : '));
    line.appendChild(document.createTextNode(withText ? breaks[word.clue] || word.clue : ''));
    if (!withText) line.appendChild(unseenText('sans définition'));
    return line;
  }

  function drawTable() {
    page.table.style.setProperty('--columns', width);
    const withClues = words.some((word) => word.clue !== '');
    page.table.classList.toggle('arrows-inside', !withClues);
    for (let row = 0; row < height; ++row) {
      const line = page.table.insertRow();
      line.setAttribute('role', 'row');
      for (let column = 0; column < width; ++column) {
        const cell = cellAt(cells, row, column);
        const element = line.insertCell();
        element.setAttribute('role', 'gridcell');
        element.className = 'cell ' + cell.kind;
        element.dataset.index = String(row * width + column);
        if (cell.kind === 'clue') {
          element.title = [cell.clues.across, cell.clues.down].filter(Boolean).map(clueLabel).join('\n');
          if (cell.clues.across) element.classList.add('arrow-across');
          if (cell.clues.down) element.classList.add('arrow-down');
          if (cell.clues.across && cell.clues.down) element.classList.add('divided');
          element.appendChild(unseenText('Ligne ' + (row + 1) + ', colonne ' + (column + 1) + ', définition. '));
          for (const direction of [ACROSS, DOWN])
            if (cell.clues[direction]) element.appendChild(clueElement(cell.clues[direction], withClues));
        } else if (cell.kind === 'letter') {
          const letter = document.createElement('span');
          letter.className = 'glyph';
          letter.setAttribute('aria-hidden', 'true');
          element.appendChild(letter);
        }
        cell.element = element;
        if (cell.kind !== 'clue') element.setAttribute('aria-label', cellLabel(cell));
      }
    }
  }

  function drawLetter(cell) {
    const i = cell.index;
    cell.element.firstChild.textContent = game.letters[i];
    cell.element.classList.toggle('wrong', game.marks[i] === 'wrong');
    cell.element.classList.toggle('revealed', game.marks[i] === 'revealed');
    cell.element.setAttribute('aria-label', cellLabel(cell));
  }

  // Clue text at the largest share of the cell at which it fits its part of
  // the cell, kept as a share so that print, at another cell size, sets it
  // the same way.
  function fitClueText() {
    for (const text of page.table.querySelectorAll('.clue-line')) {
      let low = CLUE_RATIO_MIN, high = CLUE_RATIO_MAX;
      const fits = (ratio) => {
        text.style.fontSize = 'calc(var(--cell) * ' + ratio.toFixed(4) + ')';
        return text.scrollHeight <= text.clientHeight + 1 && text.scrollWidth <= text.clientWidth + 1;
      };
      if (fits(high)) continue;
      for (let step = 0; step < 6; ++step) {
        const middle = (low + high) / 2;
        if (fits(middle)) low = middle; else high = middle;
      }
      fits(low);
    }
  }

  // Cells as large as the box allows, from a fingertip up; a grid wider than
  // that scrolls inside its box, never the page sideways.
  function sizeGrid() {
    const across = Math.floor((page.box.clientWidth - 2) / width);
    const down = Math.floor((window.innerHeight - page.clueBar.offsetHeight - 8) / height);
    const cell = Math.max(CELL_MIN_PX, Math.min(CELL_MAX_PX, across, down));
    page.table.style.setProperty('--cell', cell + 'px');
    fitClueText();
    placeInput();
  }

  function showStorageNote() {
    document.querySelector('.storage-note').hidden = !game.storageRefused;
  }

  // [SECTION] Selection ------------------------------------------------------

  function currentWord() {
    if (!game.current) return null;
    return game.current.words[game.direction] || game.current.words[game.direction === ACROSS ? DOWN : ACROSS];
  }

  function placeInput() {
    if (!game.current) return;
    const element = game.current.element;
    page.input.style.left = (page.table.offsetLeft + element.offsetLeft) + 'px';
    page.input.style.top = (page.table.offsetTop + element.offsetTop) + 'px';
  }

  // The selected cell brought into view: the box scrolls sideways, the page
  // up and down, below the clue bar that stays on top.
  function keepInView(element) {
    page.table.style.setProperty('--bar', page.clueBar.offsetHeight + 'px');
    element.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  }

  // inView false: the page opens where it starts, with its title in view.
  function select(cell, direction, inView = true) {
    const before = currentWord();
    if (before) {
      for (const c of before.cells) c.element.classList.remove('in-word');
      before.clueCell.element.classList.remove('active-clue');
    }
    if (game.current) {
      game.current.element.classList.remove('current');
      game.current.element.removeAttribute('aria-selected');
    }
    game.current = cell;
    game.direction = cell.words[direction] ? direction : (direction === ACROSS ? DOWN : ACROSS);
    const word = currentWord();
    for (const c of word.cells) c.element.classList.add('in-word');
    word.clueCell.element.classList.add('active-clue');
    cell.element.classList.add('current');
    cell.element.setAttribute('aria-selected', 'true');
    if (word !== before) {
      page.clueDirection.textContent = DIRECTION_NAMES[word.direction];
      page.clueText.textContent = word.clue || 'sans définition';
    }
    page.input.setAttribute('aria-label', 'Saisie. ' + clueLabel(word) + '. Lettre ' +
                            (word.cells.indexOf(cell) + 1) + ' sur ' + word.cells.length);
    placeInput();
    if (inView) keepInView(cell.element);
  }

  function firstCellToFill(word) {
    return word.cells.find((cell) => game.letters[cell.index] === '') || word.cells[0];
  }

  function selectWord(word) {
    select(firstCellToFill(word), word.direction);
  }

  // The next letter cell from cell by (dRow, dColumn), over clue cells and
  // blocks; null at the edge of the grid.
  function letterBeyond(cell, dRow, dColumn) {
    for (let next = cellAt(cells, cell.row + dRow, cell.column + dColumn); next;
         next = cellAt(cells, next.row + dRow, next.column + dColumn)) {
      if (next.kind === 'letter') return next;
    }
    return null;
  }

  function moveByArrow(dRow, dColumn) {
    const next = letterBeyond(game.current, dRow, dColumn);
    if (next) select(next, dRow === 0 ? ACROSS : DOWN);
  }

  function stepInWord(offset) {
    const word = currentWord();
    const next = word.cells[word.cells.indexOf(game.current) + offset];
    if (next) select(next, word.direction);
    return next || null;
  }

  // Tab past the last word (or Shift+Tab before the first) leaves the grid
  // for the page's buttons, so that the keyboard is never trapped.
  function nextWord(offset) {
    const index = currentWord().index + offset;
    if (index < 0 || index >= words.length) return false;
    selectWord(words[index]);
    return true;
  }

  function onGridClick(event) {
    const element = event.target.closest('td');
    if (!element) return;
    const cell = cells[Number(element.dataset.index)];
    if (cell.kind === 'letter') {
      const toggled = cell === game.current ? (game.direction === ACROSS ? DOWN : ACROSS) : game.direction;
      select(cell, toggled);
    } else if (cell.kind === 'clue') {
      const word = currentWord();
      const both = cell.clues.across && cell.clues.down;
      const again = both && word && word.clueCell === cell;
      selectWord(again ? cell.clues[word.direction === ACROSS ? DOWN : ACROSS] : cell.clues.across || cell.clues.down);
    } else {
      return;
    }
    page.input.focus({ preventScroll: true });  // in the tap itself: a phone raises its keyboard
  }

  // [SECTION] Typing ---------------------------------------------------------

  // The program's own folding of words: the French accented letters to their
  // capitals, the ligatures spelt out; anything else has no place in a grid.
  const FOLDING = new Map();
  for (const [capitals, letters] of [['E', 'éèêëÉÈÊË'], ['A', 'àâäÀÂÄ'], ['I', 'îïÎÏ'], ['O', 'ôöÔÖ'],
                                     ['U', 'ùûüÙÛÜ'], ['Y', 'ÿŸ'], ['C', 'çÇ'], ['OE', 'œŒ'], ['AE', 'æÆ']]) {
    for (const letter of letters) FOLDING.set(letter, capitals);
  }

  function folded(text) {
    let result = '';
    for (const character of text) {
      if (/^[A-Za-z-]$/.test(character)) result += character.toUpperCase();
      else if (FOLDING.has(character)) result += FOLDING.get(character);
    }
    return result;
  }

  function setLetter(cell, letter) {
    if (game.marks[cell.index] === 'revealed') return;  // a revealed letter is the answer: kept
    game.letters[cell.index] = letter;
    game.marks[cell.index] = '';
    drawLetter(cell);
  }

  function typeLetters(text) {
    if (!game.current) return;
    for (const letter of folded(text)) {
      setLetter(game.current, letter);
      stepInWord(1);
    }
    afterChange();
  }

  function eraseBackward() {
    const cell = game.current;
    if (game.letters[cell.index] === '' || game.marks[cell.index] === 'revealed') {
      const previous = stepInWord(-1);
      if (previous) setLetter(previous, '');
    } else {
      setLetter(cell, '');
    }
    afterChange();
  }

  const KEY_MOVES = { ArrowLeft: [0, -1], ArrowRight: [0, 1], ArrowUp: [-1, 0], ArrowDown: [1, 0] };

  function onKeyDown(event) {
    if (event.ctrlKey || event.metaKey || event.altKey || !game.current) return;
    const key = event.key;
    if (KEY_MOVES[key]) {
      moveByArrow(...KEY_MOVES[key]);
    } else if (key === 'Tab') {
      if (!nextWord(event.shiftKey ? -1 : 1)) return;  // out of the grid, as the browser does
    } else if (key === 'Enter') {
      nextWord(1);
    } else if (key === ' ') {
      select(game.current, game.direction === ACROSS ? DOWN : ACROSS);
    } else if (key === 'Backspace') {
      eraseBackward();
    } else if (key === 'Delete') {
      setLetter(game.current, '');
      afterChange();
    } else if (key.length === 1) {
      typeLetters(key);
    } else {
      return;  // phone keyboards send no letter here (key 229): it comes by the input event
    }
    event.preventDefault();
  }

  // Text that came without a key of its own: phone keyboards, dead keys and
  // accented letters composed by the system.
  function onInput(event) {
    const text = page.input.value;
    page.input.value = '';
    if (!game.current) return;
    if (event.inputType && event.inputType.startsWith('delete')) eraseBackward();
    else typeLetters(text);
  }

  function onFocus() {
    if (!game.current && words.length > 0) selectWord(words[0]);
    page.table.classList.add('focused');
  }

  // [SECTION] Tools ----------------------------------------------------------

  function cellsOf(scope) {
    if (scope === 'grid') return letterCells;
    if (!game.current) return [];
    return scope === 'word' ? currentWord().cells : [game.current];
  }

  const ASK_FIRST = {
    reveal: 'Révéler toute la grille ?',
    clear: 'Effacer toute la grille ? Les lettres tapées seront perdues.',
  };

  function runTool(action, scope) {
    if (scope === 'grid' && ASK_FIRST[action] && !window.confirm(ASK_FIRST[action])) return;
    const chosen = cellsOf(scope);
    let wrong = 0;
    for (const cell of chosen) {
      const i = cell.index;
      if (action === 'check') {
        if (game.letters[i] !== '' && game.letters[i] !== cell.answer) {
          game.marks[i] = 'wrong';
          ++wrong;
        }
      } else if (action === 'reveal') {
        game.letters[i] = cell.answer;
        game.marks[i] = 'revealed';
      } else {
        game.letters[i] = '';
        game.marks[i] = '';
      }
      drawLetter(cell);
    }
    if (action === 'check')
      page.message.textContent = wrong === 0 ? 'Aucune lettre fausse.'
                                             : wrong + (wrong === 1 ? ' lettre fausse.' : ' lettres fausses.');
    else
      page.message.textContent = '';
    afterChange();
    if (game.current) page.input.focus({ preventScroll: true });
  }

  function isSolved() {
    return letterCells.every((cell) => game.letters[cell.index] === cell.answer);
  }

  function afterChange() {
    saveProgress();
    const solved = isSolved();
    page.solved.hidden = !solved;
    page.table.classList.toggle('solved', solved);
    if (solved) page.message.textContent = 'Bravo ! La grille est juste.';
  }

  // [SECTION] Start ----------------------------------------------------------

  function start() {
    loadProgress();
    drawTable();
    for (const cell of letterCells) drawLetter(cell);
    showStorageNote();
    document.querySelector('.tools').hidden = false;
    document.querySelector('.clue-bar').hidden = false;
    page.table.addEventListener('click', onGridClick);
    page.input.addEventListener('keydown', onKeyDown);
    page.input.addEventListener('input', onInput);
    page.input.addEventListener('focus', onFocus);
    page.input.addEventListener('blur', () => page.table.classList.remove('focused'));
    for (const button of document.querySelectorAll('.tools button'))
      button.addEventListener('click', () => runTool(button.dataset.action, button.dataset.scope));
    let resizing = false;
    window.addEventListener('resize', () => {
      if (resizing) return;
      resizing = true;
      window.requestAnimationFrame(() => { resizing = false; sizeGrid(); });
    });
    sizeGrid();
    if (words.length > 0) select(firstCellToFill(words[0]), words[0].direction, false);
    const solved = isSolved();
    page.solved.hidden = !solved;
    page.table.classList.toggle('solved', solved);
  }

  start();
})();
