// The player bar's arithmetic, apart from the browser: a time as m:ss, the programme's chapters as
// segments, a place on the track as a time, the address of a moment and what the address's hash
// asks for. No DOM here: player.js and module.js do the showing.
// Usage: qvlTimeline.clock(94.6) === '1:34';
//        qvlTimeline.segments([['logo', 0], ['helix', 5]], 172)[1].end === 172
var qvlTimeline = (function () {
  // Whole seconds, as a clock shows them: 94.9 s is still 1:34.
  function clock(seconds) {
    var s = Math.max(0, Math.floor(seconds || 0));
    return Math.floor(s / 60) + ':' + (s % 60 < 10 ? '0' : '') + s % 60;
  }
  // [name, start] pairs in order; each lasts until the next one's start, the last until the end.
  function segments(chapters, length) {
    return chapters.map(function (chapter, i) {
      return { name: chapter[0], start: chapter[1], end: i + 1 < chapters.length ? chapters[i + 1][1] : length };
    });
  }
  function segmentAt(list, time) {
    var found = list[0];
    list.forEach(function (segment) { if (time >= segment.start) found = segment; });
    return found;
  }
  // The time at x on a track from `left`, `width` wide; beyond its ends, the end nearer.
  function timeAt(x, left, width, length) {
    return width > 0 ? Math.min(Math.max((x - left) / width, 0), 1) * length : 0;
  }
  // The page's address at the whole second shown; the rest of the hash (hold, full) stays behind.
  function linkAt(href, time) {
    return href.split('#')[0] + '#t=' + Math.max(0, Math.floor(time || 0));
  }
  // #t=94 starts at 94 s (as the preview's --from does), &hold is the checks' mode, &full keeps
  // every pixel; in any order, e.g. #t=94&full.
  function readHash(hash) {
    var time = /(?:^#|&)t=([0-9]+(?:\.[0-9]+)?)/.exec(hash);
    return { startTime: time ? parseFloat(time[1]) : 0, hold: /(?:^#|&)hold(?:&|$)/.test(hash),
             full: /(?:^#|&)full(?:&|$)/.test(hash) };
  }
  return { clock: clock, segments: segments, segmentAt: segmentAt, timeAt: timeAt, linkAt: linkAt, readHash: readHash };
})();
