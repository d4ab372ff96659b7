// Types of zir.js, the browser client of the local zir identity-card service.

/** What went wrong; each has a message that can be shown at the desk as it stands. */
export type ZirErrorCode =
  | 'read-failed'       // zir answered {"statusCode":"500"}: no card read (the log says why)
  | 'forbidden'         // zir refused this page's origin (WebOrigins)
  | 'busy'              // zir answered 503
  | 'timeout'           // no answer in time
  | 'invalid-answer'    // an answer that is no zir document
  | 'permission-denied' // the browser's Local Network Access permission is denied
  | 'permission-needed' // a permission prompt is due, or was dismissed
  | 'insecure-page'     // a public http page, which the browser blocks
  | 'not-running'       // nothing answers on the port
  | 'unreachable';      // no answer, and this browser does not tell the page why

export class ZirError extends Error {
  readonly name: 'ZirError';
  readonly code: ZirErrorCode;
  /** The address asked. */
  readonly url?: string;
  /** The HTTP status, where the page could see one. */
  readonly status?: number;
  /** The document zir answered (read-failed, invalid-answer). */
  readonly document?: Record<string, unknown>;
  /** The answer's text when it was no JSON. */
  readonly text?: string;
  readonly timeoutMs?: number;
}

/** A zir document: every value a string (the WebType=1 layout nests resultContent). */
export interface ZirDocument {
  statusCode: string;
  [member: string]: unknown;
}

export interface ZirUidDocument extends ZirDocument {
  type: string;
  uid: string;
}

export interface ZirStatusDocument extends ZirDocument {
  version: string;
  reader: 'ready' | 'missing';
  /** The missing library file or function, as zir's log names it. */
  missing?: string;
  simulated: 'true' | 'false';
}

export interface ZirClientOptions {
  /** zir's WebPort; default 80. */
  port?: number;
  /** Default '127.0.0.1'. */
  host?: string;
  /** Milliseconds; defaults card 15000, uid 5000, status 5000. */
  timeouts?: { card?: number; uid?: number; status?: number };
}

export interface ZirRequestOptions {
  timeoutMs?: number;
}

export type ZirEvent =
  | { type: 'card'; data: ZirUidDocument }
  | { type: 'removed'; data: Record<string, never> }
  | { type: 'document'; data: ZirDocument };

export type ZirStreamState = 'open' | 'reconnecting' | 'closed';

export interface ZirWatchOptions {
  /** Deliver 'document' events: the full read after each card. */
  read?: boolean;
  onState?: (state: ZirStreamState) => void;
}

export interface ZirWatch {
  stop(): void;
}

export class ZirClient {
  constructor(options?: ZirClientOptions);
  readonly port: number;
  /** e.g. 'http://127.0.0.1:8080' */
  readonly baseUrl: string;
  readCard(options?: ZirRequestOptions): Promise<ZirDocument>;
  readUid(options?: ZirRequestOptions): Promise<ZirUidDocument>;
  status(options?: ZirRequestOptions): Promise<ZirStatusDocument>;
  /** Call from a click: lets the browser ask for its permission now. */
  requestAccess(options?: ZirRequestOptions): Promise<ZirStatusDocument>;
  /** One stream for all tabs of this page origin; the present state comes first. */
  watch(onEvent: (event: ZirEvent) => void, options?: ZirWatchOptions): ZirWatch;
}

export default ZirClient;
