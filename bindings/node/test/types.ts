// Type-checked (tsc --noEmit --strict) against the installed package's declarations.
import * as karpa from 'karpa';

const sorted: string = karpa.seq.sortInt([3, 1, 2n], 0);
const items: number[] = karpa.ints(sorted);
const big: bigint[] = karpa.bigInts(karpa.seq.mapInt('1', 2));
const days: number | bigint = karpa.datetime.daysBetween(2024, 1, 1, 2024n, 3, 1);
const leap: boolean = karpa.datetime.isLeapYear(2024);
const mac: string = karpa.crypto.hmacSha256(new Uint8Array([1]), 'key');
const mean: string = karpa.curried.meanFloat([0.5, 1.5]);
const mapped: string = karpa.seq.mapFloat('1.5', 2);
const words: string[] = karpa.strings(karpa.seq.sortString(['b', 'a'], 0));
export const seen: unknown[] = [];
try {
  karpa.seq.sortInt('3,x', 0);
} catch (e) {
  if (e instanceof karpa.KarpaError) {
    const kind: string | null = e.kind;
    seen.push(kind, e.message, e.function, e.report, items, big, days, leap, mac, mean, mapped, words);
  }
}
// @ts-expect-error a string list takes strings only
karpa.seq.sortString([1], 0);
